#pragma once
// Media file types handled by the program, and starting it with the desktop session, as
// the freedesktop desktop does it: a desktop entry under $XDG_DATA_HOME/applications that
// declares the chosen types (opened with "%F", so several files reach one process) and names
// the program's icon (installed in the user's icon theme), the user's default-application
// choices in $XDG_CONFIG_HOME/mimeapps.list, and an autostart entry under
// $XDG_CONFIG_HOME/autostart. Failures are not reported: without the rights to
// write there nothing changes and the program goes on.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

struct AssociationCommand {
    QString verb;           // "Open"
    QString commandLine;    // the desktop entry's Exec line
};

// What is registered for one file type.
struct AssociationRecord {
    QString extension;      // ".mp3"
    QString typeName;       // the program title
    QString description;    // type name + " Media File"
    QString contentType;    // the MIME type
    QList<AssociationCommand> commands;
    QString iconFile;
    int iconIndex = 0;
};

// Registers the program for files with `extension` ("mp3" or ".mp3").
void associations_RegisterFileType(const QString& typeName, const QString& extension);
// Writes the record: the desktop entry gains the type, and the program becomes the type's default.
void associations_WriteRegistry(const AssociationRecord& record);
// Lets the desktop pick up changed associations (once, after registering).
void associations_NotifyShell();
// The program file's path.
QString associations_GetProgramPath();

// The entry that starts the program with the desktop session: `commandLine` as its Exec line.
void registry_AddStartupEntry(const QString& valueName, const QString& commandLine);
// Deletes exactly the file that adding wrote; nothing when there is none.
void registry_RemoveStartupEntry(const QString& valueName);

namespace associations {
QString applicationsFolder();                          // $XDG_DATA_HOME/applications
QString desktopFilePath(const QString& typeName);      // the type's desktop entry
QString desktopFileId(const QString& typeName);        // its file name ("veltra.desktop")
QString mimeAppsPath();                                // $XDG_CONFIG_HOME/mimeapps.list
QString autostartFilePath(const QString& valueName);
// The MIME type the system's shared MIME database gives files with this extension (by the
// name, or else by what such files begin with); empty when it has none.
QString mimeTypeFor(const QString& extension);
// The program's icon as PNG images, each with its size in pixels (square). Set by start-up:
// the icon is drawn by the window layer. Unset, the entry names no icon.
using IconImages = std::function<QList<QPair<int, QByteArray>>()>;
void setIconImages(IconImages images);
// The icon's name in the desktop's icon theme, and its image of one size there, under
// $XDG_DATA_HOME/icons/hicolor.
QString iconName(const QString& typeName);
QString iconFilePath(const QString& typeName, int size);
// Writes the icon's images (those that changed); true when the theme holds it.
bool installIcon(const QString& typeName);
// One argument of an Exec line, quoted when it needs to be.
QString execQuote(const QString& argument);
// The program file in `folder` (one separator, also for the root folder).
QString programPathIn(const QString& folder);
// The command line of the start with the desktop session: the program with "/systray /winload".
QString startupCommandLine();
// The key=value pairs of a desktop entry's [Desktop Entry] group, values unescaped.
// `readable` is false when the file is there but cannot be read.
QList<QPair<QString, QString>> readDesktopEntry(const QString& path, bool* readable = nullptr);
} // namespace associations
