#pragma once
// Random numbers for random play and random playlists, with an optional no-repeat history.
#include <QtGlobal>

// A whole number above `floor` and at most `maximum`. With `unique`, numbers already in the
// shared history (made `historySize` long, keeping what it holds) are not given again; the
// number given is recorded, and a full history is emptied. When every number of the range
// is recorded the history is emptied first; an empty range gives `maximum`.
int math_GetRandomNumber(int maximum, int floor, bool unique, int historySize);
// Makes the history `size` entries long, all free.
void math_ResetRandomHistory(int size);

namespace math {
// Makes the draws repeatable (tests); the program seeds from the clock.
void seed(quint64 value);
// The numbers recorded in the history now, in the order given.
QList<int> history();
}
