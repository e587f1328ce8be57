#pragma once
// Temporary files the program writes beside a file before they take its place: list files
// and settings written whole, copies to another file system, songs whose tag grows. Their
// maker holds a lock (flock) on each from its creation until it has taken its place or is
// removed, so one that nobody holds was left by a writer that was killed: the next write in
// its folder, of whatever kind, removes it.
//
// A person may name a file of their own anything, also ".veltra-" and a few letters. So a
// name is taken for ours only when it carries what no person would type: a long random
// part followed by a check of it, keyed to the program. Files under the short names of
// earlier versions cannot be told from the user's and are left alone.
#include <QByteArray>

#include <sys/types.h>

namespace tempcopies {

// One kind of temporary file: its name is `prefix`, kRandomLength random characters of
// kAlphabet and kCheckLength characters that check them; anything else is not ours.
// `looksOurs`, when set, is asked of a file open for reading whether it begins as this
// kind's files do.
struct Kind {
    const char* prefix;
    bool (*looksOurs)(int fd) = nullptr;
};

// Lower case only: on a file system that folds case two names still never meet.
inline constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
inline constexpr int kRandomLength = 16;
inline constexpr int kCheckLength = 8;

// The kinds the program makes: a file written whole before it replaces the old one, a copy
// into another folder, and a song whose tag grows (which begins with a version 2.3 tag).
extern const Kind kWholeFile;
extern const Kind kFolderCopy;
extern const Kind kTagCopy;

bool isName(const char* name, const Kind& kind);
// The name of this kind whose random part is `random` (kRandomLength characters of kAlphabet).
QByteArray nameFor(const Kind& kind, const QByteArray& random);

// Makes a new file of this kind in the folder (read and write, `mode` before the umask) under
// a free name, and takes its lock before anything is written (a file system without locks
// leaves it unlocked, and then no cleanup ever removes it). Returns the descriptor and sets
// `name`; -1 with errno set when no file could be made.
int createHeld(const QByteArray& folder, const Kind& kind, mode_t mode, QByteArray& name);

// Removes from the folder the files of every kind that writers of this user left when they
// were killed: regular files of a kind's name, owned by this user, with no other name,
// looking like ours, and held by nobody. A folder is looked through again only after it
// changed, so a run of writes in one folder reads it once.
void removeLeftovers(const QByteArray& folder);

} // namespace tempcopies
