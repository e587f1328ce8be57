#include "common/modAddFiles.h"

#include "common/modFolders.h"
#include "common/modSettings.h"
#include "platform/UiServices.h"

namespace addfiles {

const QString& filter()
{
    static const QString text = QStringLiteral(
        "MP3 File|*.mp3|MP2 File|*.mp2|MP1 File|*.mp1|MIDI Files|*.mid;*.rmi;*.midi|"
        "Windows Audio Files|*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff;*.wma|Windows Video Files|*.avi;*.wmv|"
        "Movie Files|*.mpeg;*.mpe;*.mpg;*.m1v;*.mpa|All Supported Video Files|*.avi;*.wmv;*.mpeg;*.mpe;*.mpg;*.m1v;*.mpa|"
        "Other Media Files|*.*|");
    return text;
}

QStringList choose(const QString& title)
{
    using namespace veltra;
    FileDialogRequest request;
    request.title = title;
    request.initialDir = directory_StartFolder(
        settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("LastDirectoryUsed"), QStringLiteral("C:\\")));
    request.flags = 524804;
    request.multiSelect = true;
    request.filter = filter();
    request.filterIndex = 1;
    const FileDialogResult answer = ui().openFileDialog(request);
    if (answer.cancelled) return {};
    if (answer.files.size() <= MaxFiles) return answer.files;
    msgBox(QStringLiteral("You have selected to many songs to add from this directory.\r\n\r\n"
                          "Use the 'Add Directory' option instead if you want to add all of the songs from this directory.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Add Files Error"));
    return {};
}

} // namespace addfiles
