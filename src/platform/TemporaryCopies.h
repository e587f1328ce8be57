#pragma once
// Temporary files the program writes beside a file before they take its place: list files
// and settings written whole, copies to another file system, songs whose tag grows. Their
// maker holds a lock (flock) on each from its creation until it has taken its place or is
// removed, so one that nobody holds was left by a writer that was killed: the next write in
// its folder, of whatever kind, removes it.
#include <QByteArray>

#include <sys/types.h>

namespace tempcopies {

// One kind of temporary file: its name is `prefix` followed by exactly `length` characters
// of `alphabet`; anything else is another program's. `looksOurs`, when set, is asked of a
// file open for reading whether it begins as this kind's files do.
struct Kind {
    const char* prefix;
    int length;
    const char* alphabet;
    bool (*looksOurs)(int fd) = nullptr;
};

// mkstemp's six characters
inline constexpr char kMkstempAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
inline constexpr char kListAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";

// The kinds the program makes: a file written whole before it replaces the old one, a copy
// into another folder, and a song whose tag grows (which begins with a version 2.3 tag).
extern const Kind kWholeFile;
extern const Kind kFolderCopy;
extern const Kind kTagCopy;

bool isName(const char* name, const Kind& kind);

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
