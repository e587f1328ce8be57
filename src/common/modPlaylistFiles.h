#pragma once
// The playlist files of the Playlists folder as the playlist commands and tools use them:
// the file a name of the playlist box stands for, writing a playlist over an older one, and
// deleting playlists after the user's Yes, reporting only what really happened.
#include <QString>

class ListViewModel;

namespace playlists {

// The Playlists folder of the program folder.
QString folder();
// The file of the playlist called `name`: its existing file in the folder, whatever the
// letter case of its ".spp"; a name without a file gets "<folder>/<name>.spp".
QString fileOf(const QString& name);
// True when the file is a ".spp" file (any letter case) of the Playlists folder itself (the
// box lists only those).
bool isStored(const QString& path);

// "default" in any letter case: the playlist saved on exit and loaded at start, which the box
// never lists; no other playlist may take its name.
bool isReservedName(const QString& name);

// How a name the user gives a new or renamed playlist stands against those stored. The box
// and its lookup take two names that differ only in letter case for one playlist, so such a
// name is taken by the playlist that bears it.
struct NameCheck {
    enum Use { Free, Reserved, Stored } use = Free;
    QString file;   // Stored: the playlist's file
};
NameCheck checkName(const QString& name);

// A path chosen in a Save Playlist dialog with ".spp" added unless it ends in it (any letter
// case), so the box and the library can list it.
QString withExtension(const QString& path);
// The file Save As writes the playlist chosen as `path` to: withExtension, and in the
// Playlists folder the stored playlist of that name ignoring letter case. Empty for the
// reserved name, after "Save Playlist Error" said it is taken.
QString saveAsTarget(const QString& path);

// Whether a name typed for a playlist can name its file: none of \ / : * ? " < > | and no
// control character.
bool isAcceptableName(const QString& name);
// The refusal of a name that is not, naming the characters (its first two parts; the
// dialog adds its own ending).
QString unsupportedCharacterText();

// Writes the rows to the file, replacing it whole. A file the user may not write (read-only,
// a folder) is left as it is; false then, and when the write failed.
bool write(const ListViewModel& rows, const QString& path);
// Whether an existing file may be written over: a plain file that is not read-only.
bool mayReplace(const QString& path);

// Deletes the file to the trash or for good, by Settings/SendMediaFilesToRecycleBin.
enum class Removal {
    Gone,
    KeptExplained,   // still there; the delete routine has shown why
    KeptSilent,      // still there without a word (a read-only file deleted for good)
};
Removal remove(const QString& path);

// One playlist: asks first ("Delete Current Playlist Confirmation"), logs "<path> was
// deleted." once the file is gone, and otherwise shows "Delete Current Playlist Error"
// unless the delete routine has said why. True when the file is gone.
bool deleteOne(const QString& path);
// Every playlist file of the folder, default.spp too, after the user's Yes; each file gone
// is logged "<path> playlist was deleted.". False when the user said No.
bool deleteAll();

} // namespace playlists
