#pragma once
// Questions about files and paths, and the file operations the windows offer. Failures of
// delete, copy and move are reported in a message box and the caller goes on.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Path text (no file-system access). The separator is the platform's.
QString files_GetFileName(const QString& path);
QString files_GetDirectory(const QString& path);
QString files_GetExtension(const QString& path);
QString files_GetNameWithoutExtension(const QString& path);
QString files_RemoveTrailingNull(const QString& text);

// Questions.
bool files_FileExists(const QString& path);                 // file or folder
bool files_HasAttribute(const QString& path, quint32 mask); // 1 read-only, 2 hidden, 16 folder, 32 archive
QString files_GetFileSizeText(const QString& path);
QString files_GetFileSizeDisplay(const QString& path, bool withUnit);

// Operations.
void files_DeleteFile(const QString& path);
void files_DeleteToRecycleBin(const QString& path, bool confirm, bool silent);
// Both tell whether they succeeded (a failure has shown its box). A move never replaces
// another file.
bool files_CopyFile(const QString& source, const QString& destination);
bool files_MoveFile(const QString& source, const QString& destination);
bool files_RenameFile(const QString& oldPath, const QString& newPath);
void files_AddToRecentDocuments(const QString& path);

// Fetches baseAddress + fileName through `download` and writes the bytes to folder/fileName,
// replacing the file whole. False when nothing was fetched or the write failed.
using DownloadFunction = std::function<std::optional<QByteArray>(const QString& address)>;
bool files_WriteArrayToFile(const QString& baseAddress, const QString& fileName, const QString& folder,
                            const DownloadFunction& download);

namespace files {
QString separator();
// The files of one folder (not its subfolders) whose extension is `extension` in any letter
// case, as full paths under their real names, sorted by name ignoring case.
QStringList listFolder(const QString& folder, const QString& extension);
// The freedesktop recently-used list the recent-documents call writes to.
QString recentDocumentsPath();
// $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or relative.
QString dataHome();
// The desktop's home trash ($XDG_DATA_HOME/Trash): files/ and info/ below it.
QString trashFolder();
// Moves a file or folder into the home trash under a unique name, with its .trashinfo
// record; false, with the file left where it was, when that cannot be done.
bool moveToTrash(const QString& path);
// Whether two paths name one file: the same device and inode, or, when one is missing,
// the same clean absolute path.
bool isSameFile(const QString& a, const QString& b);
// Whether two regular files hold the same bytes; false when either cannot be read.
bool sameBytes(const QString& a, const QString& b);
}
