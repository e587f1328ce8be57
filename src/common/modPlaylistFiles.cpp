#include "common/modPlaylistFiles.h"

#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modLog.h"
#include "common/modSettings.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"

#include <QDir>
#include <QFileInfo>

using namespace veltra;

namespace playlists {

namespace {
// The folder a path lies in, with links resolved where it exists.
QString folderOf(const QString& path)
{
    const QFileInfo info(path);
    const QFileInfo dir(info.absolutePath());
    const QString canonical = dir.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(dir.absoluteFilePath()) : canonical;
}
} // namespace

QString folder() { return programfolder::file(QStringLiteral("Playlists")); }

QString fileOf(const QString& name)
{
    const QString plain = folder() + u'/' + name + QStringLiteral(".spp");
    if (QFileInfo(plain).isFile()) return plain;
    for (const QString& file : files::listFolder(folder(), QStringLiteral("spp")))
        if (files_GetNameWithoutExtension(file) == name) return file;
    return plain;
}

bool isStored(const QString& path)
{
    // A file without the ".spp" ending is none of the box's playlists, even when a playlist
    // of its bare name is: Save would write over that one.
    return !path.isEmpty() && QFileInfo(path).suffix().compare(QLatin1String("spp"), Qt::CaseInsensitive) == 0
        && folderOf(path) == folderOf(folder() + QStringLiteral("/x"));
}

bool isReservedName(const QString& name) { return name.compare(QLatin1String("default"), Qt::CaseInsensitive) == 0; }

NameCheck checkName(const QString& name)
{
    if (isReservedName(name)) return {NameCheck::Reserved, QString()};
    // The file of exactly that name first, where two differ only in letter case.
    const QString exact = fileOf(name);
    if (QFileInfo::exists(exact)) return {NameCheck::Stored, exact};
    for (const QString& file : files::listFolder(folder(), QStringLiteral("spp")))
        if (files_GetNameWithoutExtension(file).compare(name, Qt::CaseInsensitive) == 0) return {NameCheck::Stored, file};
    return {};
}

QString withExtension(const QString& path)
{
    return path.endsWith(QLatin1String(".spp"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".spp");
}

QString saveAsTarget(const QString& path)
{
    const QString file = withExtension(path);
    if (!isStored(file)) return file;
    const NameCheck check = checkName(files_GetNameWithoutExtension(file));
    if (check.use == NameCheck::Reserved) {
        msgBox(QStringLiteral("The filename you have entered/selected already exists.\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Save Playlist Error"));
        return QString();
    }
    return check.use == NameCheck::Stored ? check.file : file;
}

bool isAcceptableName(const QString& name)
{
    for (const QChar c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.category() == QChar::Other_Control) return false;
    return true;
}

QString unsupportedCharacterText()
{
    return QStringLiteral("It has been detected that you have entered a character that is not supported.\r\n\r\n"
                          "You cannot use any of the following characters:\r\n\\ / : * ? \" < > |");
}

bool mayReplace(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !files_HasAttribute(path, 1);
}

bool write(const ListViewModel& rows, const QString& path)
{
    // A temporary file renamed over the old one would replace even a read-only file.
    if (QFileInfo::exists(path) && !mayReplace(path)) return false;
    return controls_SaveListView(rows, path);
}

Removal remove(const QString& path)
{
    const bool toTrash = settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("SendMediaFilesToRecycleBin"), QStringLiteral("1"));
    // Deleting for good passes over a read-only file without a word; every other failure
    // of the two routines shows its own box.
    const bool silentRefusal = !toTrash && files_HasAttribute(path, 1);
    if (toTrash) files_DeleteToRecycleBin(path, false, false);
    else files_DeleteFile(path);
    if (!QFileInfo::exists(path)) return Removal::Gone;
    return silentRefusal ? Removal::KeptSilent : Removal::KeptExplained;
}

bool deleteOne(const QString& path)
{
    const MsgResult answer = msgBox(QStringLiteral("You are about to physically delete the file from your computer:\r\n") + path
                                        + QStringLiteral("\r\n\r\nDo you wish to continue?\r\n"),
                                    MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Delete Current Playlist Confirmation"));
    if (answer != MsgResult::Yes) return false;
    // A file already gone (deleted a moment ago, or by another program) is not deleted again.
    const Removal result = QFileInfo(path).isFile() ? remove(path) : Removal::KeptSilent;
    if (result == Removal::Gone) {
        log_Write(path + QStringLiteral(" was deleted."));
        return true;
    }
    if (result == Removal::KeptSilent)
        msgBox(QStringLiteral("There was an error while trying to delete the current playlist from your computer.\r\n\r\n"
                              "This function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Delete Current Playlist Error"));
    return false;
}

bool deleteAll()
{
    const MsgResult answer = msgBox(QStringLiteral("You are about to physically delete all of the playlists from your computer.\r\n\r\n"
                                                   "Do you wish to continue?\r\n"),
                                    MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Delete All Playlists Confirmation"));
    if (answer != MsgResult::Yes) return false;
    for (const QString& file : files::listFolder(folder(), QStringLiteral("spp"))) {
        if (!QFileInfo(file).isFile()) continue;
        if (remove(file) == Removal::Gone) log_Write(file + QStringLiteral(" playlist was deleted."));
    }
    return true;
}

} // namespace playlists
