#pragma once
// Temporary files the program writes beside a file before they take its place: list files
// and settings written whole, copies to another file system, songs whose tag grows. Their
// maker holds a lock (flock) on each from its creation until it has taken its place or is
// removed, so one that nobody holds was left by a writer that was killed: the next write in
// its folder, of whatever kind, removes it.
#include <QByteArray>

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

// Takes the lock on a file just made under a name of its kind (a file system without locks
// leaves it unlocked, and then no cleanup ever removes it). False when a cleanup took the new
// file for a leftover before the lock: it is gone, and another must be made.
bool holdNew(int fd);

// Removes from the folder the files of every kind that writers of this user left when they
// were killed: regular files of a kind's name, owned by this user, with no other name,
// looking like ours, and held by nobody. A folder is looked through again only after it
// changed, so a run of writes in one folder reads it once.
void removeLeftovers(const QByteArray& folder);

} // namespace tempcopies
