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
