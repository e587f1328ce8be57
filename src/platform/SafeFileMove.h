#pragma once
// Renaming, moving and copying the user's files without ever replacing another file
// (copyReplacing alone replaces one, and only once its copy is whole).
// A plain rename(2) replaces an existing target silently; these refuse it instead. A move
// to another file system copies the file beside its target under a temporary name, reads
// the copy back against the source, gives it its name and only then removes the source.
#include <QString>

namespace safefile {

enum class Result {
    Done,
    TargetExists,   // nothing changed: the target name is taken (also by the source itself)
    Failed,         // nothing changed: missing source, no permission, name refused ...
};

// Gives the file the new name on the same file system; never copies.
Result rename(const QString& from, const QString& to);
// rename, or across file systems a checked copy followed by the removal of the source. A
// symbolic link whose text is relative is moved as a new link that leads from its new folder
// to the same file; one that leads nowhere is moved as it is.
Result move(const QString& from, const QString& to);
// A checked copy of a regular file under the name `to`.
Result copy(const QString& from, const QString& to);
// The same checked copy put in place of a file named `to`, if there is one (a failure leaves
// that file as it was); refused when the two names are one file.
Result copyReplacing(const QString& from, const QString& to);

} // namespace safefile
