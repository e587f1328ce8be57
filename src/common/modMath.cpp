#include "common/modMath.h"

#include <QList>
#include <QRandomGenerator>
#include <algorithm>
#include <random>
#include <unordered_set>
#include <vector>

namespace {
std::mt19937_64& generator()
{
    static std::mt19937_64 g(QRandomGenerator::global()->generate64());
    return g;
}

// Slots numbered from 0; 0 marks a free slot.
std::vector<int>& historySlots()
{
    static std::vector<int> s;
    return s;
}

int draw(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(generator());
}
} // namespace

namespace math {
void seed(quint64 value) { generator().seed(value); }

QList<int> history()
{
    QList<int> out;
    for (int v : historySlots())
        if (v != 0) out.append(v);
    return out;
}
} // namespace math

void math_ResetRandomHistory(int size)
{
    historySlots().assign(size_t(std::max(0, size)), 0);
}

int math_GetRandomNumber(int maximum, int floor, bool unique, int historySize)
{
    if (maximum <= floor) return maximum;   // nothing lies above the floor but the maximum itself
    const int low = floor + 1;
    if (!unique || historySize <= 0) return draw(low, maximum);

    std::vector<int>& s = historySlots();
    s.resize(size_t(historySize), 0);
    std::unordered_set<int> given;
    for (int v : s)
        if (v != 0 && v >= low && v <= maximum) given.insert(v);

    // Every number of the range given already: start the history afresh.
    const long long range = (long long)maximum - low + 1;
    if ((long long)given.size() >= range) {
        math_ResetRandomHistory(historySize);
        given.clear();
    }

    int r = draw(low, maximum);
    for (int tries = 0; given.count(r); ++tries) {
        if (tries < 64) {
            r = draw(low, maximum);
            continue;
        }
        // Nearly every number is taken: choose among the free ones directly.
        std::vector<int> free;
        for (long long v = low; v <= maximum; ++v)
            if (!given.count(int(v))) free.push_back(int(v));
        r = free[size_t(draw(0, int(free.size()) - 1))];
        break;
    }

    auto slot = std::find(s.begin(), s.end(), 0);
    if (slot != s.end()) *slot = r;
    if (s.back() != 0) math_ResetRandomHistory(historySize);
    return r;
}
