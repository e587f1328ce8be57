#include "common/modAddFiles.h"

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

void refuseTooMany()
{
    veltra::msgBox(QStringLiteral("You have selected to many songs to add from this directory.\r\n\r\n"
                                  "Use the 'Add Directory' option instead if you want to add all of the songs from this directory.\r\n"),
                   veltra::MsgButtons::OK, veltra::MsgIcon::Exclamation, QStringLiteral("Add Files Error"));
}

} // namespace addfiles
