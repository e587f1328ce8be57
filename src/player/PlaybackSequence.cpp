#include "player/PlaybackSequence.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace veltra {

namespace {
const std::pair<PlayingMode, const char*> kPlayingKeys[] = {
    {PlayingMode::ShuffleByArtist, "PlayingShuffleByArtist"},
    {PlayingMode::ShuffleByAlbum, "PlayingShuffleByAlbum"},
    {PlayingMode::ShuffleByYear, "PlayingShuffleByYear"},
    {PlayingMode::Introduction, "PlayingIntroduction"},
    {PlayingMode::Repeat, "PlayingRepeat"},
    {PlayingMode::RepeatOnce, "PlayingRepeatOnce"},
    {PlayingMode::StopAfterEnding, "PlayingStopAfterEnding"},
    {PlayingMode::PickRandomSongs, "PlayingPickRandomSongs"},
    {PlayingMode::GoThroughPlaylistNormally, "PlayingGoThroughPlaylistNormally"},
};
const std::pair<EndOfListMode, const char*> kEndOfListKeys[] = {
    {EndOfListMode::Repeat, "PlaylistRepeat"},
    {EndOfListMode::RepeatOnce, "PlaylistRepeatOnce"},
    {EndOfListMode::StopAfterEnding, "PlaylistStopAfterEnding"},
    {EndOfListMode::PickRandomAfterEnding, "PlaylistPickRandomAfterEnding"},
    {EndOfListMode::SwitchToNext, "PlaylistSwitchToNext"},
};

template <typename Mode, size_t N>
QString keyOf(const std::pair<Mode, const char*> (&keys)[N], Mode mode)
{
    for (const auto& [m, key] : keys)
        if (m == mode) return QString::fromLatin1(key);
    return QString();
}
template <typename Mode, size_t N>
QStringList keysOf(const std::pair<Mode, const char*> (&keys)[N])
{
    QStringList out;
    for (const auto& [m, key] : keys) out.append(QString::fromLatin1(key));
    return out;
}
template <typename Mode, size_t N>
Mode modeOf(const std::pair<Mode, const char*> (&keys)[N], const QString& key)
{
    for (const auto& [m, k] : keys)
        if (key == QLatin1String(k)) return m;
    return Mode::None;
}
} // namespace

QString playingModeKey(PlayingMode mode) { return keyOf(kPlayingKeys, mode); }
PlayingMode playingModeOfKey(const QString& key) { return modeOf(kPlayingKeys, key); }
QString endOfListModeKey(EndOfListMode mode) { return keyOf(kEndOfListKeys, mode); }
EndOfListMode endOfListModeOfKey(const QString& key) { return modeOf(kEndOfListKeys, key); }
QStringList playingModeKeys() { return keysOf(kPlayingKeys); }
QStringList endOfListModeKeys() { return keysOf(kEndOfListKeys); }

bool directionSelectable(PlayingMode mode) { return mode == PlayingMode::Introduction || mode == PlayingMode::GoThroughPlaylistNormally; }

int jumpRow(int current, int count, int step)
{
    const bool allowed = step < 0 ? current > -step : count - current > step;
    const int row = current + step;
    return allowed && row >= 1 && row <= count ? row : 0;
}

int middleRow(int count)
{
    if (count == 1) return 1;
    return count < 1 ? 0 : int(std::nearbyint(count / 2.0));
}

// ---- random history ------------------------------------------------------------------------

void RandomPlayHistory::add(const QString& file)
{
    if (names.size() > 1 && names.contains(file)) return;
    ++count;
    cursor = count;
    names.append(file);
}

void RandomPlayHistory::reset()
{
    count = 0;
    cursor = 0;
    names = QStringList{QString()};
}

std::optional<QString> PlaybackSequence::stepHistory(int step)
{
    if (m_modes.playing != PlayingMode::PickRandomSongs || m_history.count < 1) return std::nullopt;
    if (step > 0 ? m_history.cursor == m_history.count : m_history.cursor < 1) return std::nullopt;
    m_history.cursor += step;
    return m_history.names.value(m_history.cursor);
}

// ---- modes -----------------------------------------------------------------------------------

PlaybackSequence::PlaybackSequence(const ListViewModel* rows, QObject* parent) : QObject(parent), m_rows(rows) {}

void PlaybackSequence::setModes(const PlaybackModes& modes)
{
    m_modes = modes;
    emit modesChanged();
}

void PlaybackSequence::setPlayingMode(PlayingMode mode, bool directionSelectable)
{
    PlaybackModes m = m_modes;
    m.playing = mode;
    m.directionSelectable = directionSelectable;
    setModes(m);
}

void PlaybackSequence::setDirection(PlayDirection direction)
{
    PlaybackModes m = m_modes;
    m.direction = direction;
    setModes(m);
}

void PlaybackSequence::setEndOfListMode(EndOfListMode mode)
{
    PlaybackModes m = m_modes;
    m.endOfList = mode;
    setModes(m);
}

// ---- rows ------------------------------------------------------------------------------------

int PlaybackSequence::startRow() const { return m_modes.direction == PlayDirection::Forward ? 1 : rows().count(); }

int PlaybackSequence::nextRow(int row) const { return row == rows().count() ? 1 : row + 1; }

int PlaybackSequence::previousPlayRow(int row) const
{
    const int n = rows().count();
    if (n == 0 || row < 1) return 0;
    int r = row == 1 || row > n ? n + 1 : row;
    for (int pass = 0; pass < n; ++pass) {
        r = r > 1 ? r - 1 : n;
        if (playlist_RowStatus(rows(), r) == RowStatus::Play) return r;
    }
    return 0;
}

int PlaybackSequence::firstRowWithFile(int row) const
{
    for (int r = std::max(row, 1); r <= rows().count(); ++r) {
        const QString file = rows().subItem(r, PlaylistColumn::Filename);
        if (m_fileExists ? m_fileExists(file) : files_FileExists(file)) return r;
    }
    return 0;
}

RowToStart PlaybackSequence::rowToStart(int row) const
{
    using K = RowToStart::Kind;
    RowToStart out;
    const int count = rows().count();
    auto answer = [&out](K kind, int at) {
        out.kind = kind;
        out.row = at;
        return out;
    };
    for (;;) {
        const int withFile = firstRowWithFile(row);
        if (!withFile) return answer(K::NoFiles, row);
        row = withFile;
        switch (playlist_RowStatus(rows(), row)) {
        case RowStatus::SkipOnce:
            out.passedOnce.append(row);
            if (row == count) return answer(K::HandOff, row);
            ++row;
            break;
        case RowStatus::Skip: {
            if (row == count) return answer(K::HandOff, row);
            while (row < count && playlist_RowStatus(rows(), row) == RowStatus::Skip) ++row;
            if (playlist_RowStatus(rows(), row) == RowStatus::Skip) return answer(K::Nothing, row);
            break;
        }
        default: return answer(K::Play, row);
        }
    }
}

int PlaybackSequence::rowOfFile(const QString& file) const
{
    if (file.isEmpty()) return 0;
    for (int r = 1; r <= rows().count(); ++r)
        if (rows().subItem(r, PlaylistColumn::Filename) == file) return r;
    return 0;
}

// ---- hand-offs ---------------------------------------------------------------------------------

bool PlaybackSequence::beginHandOff(int playlist)
{
    if (m_handedOn.contains(playlist)) return false;
    m_handedOn.append(playlist);
    return true;
}

void PlaybackSequence::endHandOff(int playlist) { m_handedOn.removeOne(playlist); }

// ---- the current row -----------------------------------------------------------------------------

void PlaybackSequence::currentRowGone(int rowBefore) { m_gapKey = rows().rowKey(rowBefore); }

PlayPosition PlaybackSequence::position(int row) const { return PlayPosition{row, m_gapKey && rows().rowKey(row) == *m_gapKey}; }

// ---- the next-track decision -------------------------------------------------------------------

// The first row below `from` whose value equals that of row `from`, ignoring case; it does not
// wrap. `column` is a sub-item, or -1 for the album of the row's file.
int PlaybackSequence::sameValueRow(int from, int column, NextStep& step) const
{
    auto valueOf = [&](int row) {
        if (column >= 0) return rows().subItem(row, column);
        return m_album ? m_album(rows().subItem(row, PlaylistColumn::Filename)) : QString();
    };
    const QString value = valueOf(from);
    if (column < 0) step.album = value;
    for (int r = from + 1; r <= rows().count(); ++r) {
        const QString candidate = valueOf(r);
        if (column < 0) step.lastAlbumCompared = candidate;
        if (QString::compare(candidate, value, Qt::CaseInsensitive) == 0) return r;
    }
    return 0;
}

NextStep PlaybackSequence::next(PlayPosition at, int playNextRow, const PlaylistChoice& box) const
{
    using K = NextStep::Kind;
    NextStep step;
    auto answer = [&step](K kind, int row = 0) {
        step.kind = kind;
        step.row = row;
        return step;
    };
    if (playNextRow >= 1) return answer(K::PlayMarked, playNextRow);

    const int count = rows().count();
    const int current = at.row;
    const bool forward = m_modes.direction == PlayDirection::Forward;
    const bool backward = m_modes.direction == PlayDirection::Backward;
    // With the current row gone, going backward goes on from the row before its place.
    const bool atEnd = at.gone && backward ? current < 1 : (!backward && current == count) || (current == 1 && !forward);

    if (!atEnd) {
        auto search = [&](int column) {
            const int row = sameValueRow(current, column, step);
            return row ? answer(K::PlayRow, row) : answer(K::Stop);
        };
        switch (m_modes.playing) {
        case PlayingMode::ShuffleByArtist: return search(PlaylistColumn::Artist);
        case PlayingMode::ShuffleByAlbum: return search(-1);
        case PlayingMode::ShuffleByYear: return search(PlaylistColumn::Year);
        case PlayingMode::StopAfterEnding: return answer(K::StopAndUnload);
        case PlayingMode::PickRandomSongs: return answer(K::PickRandom);
        case PlayingMode::Repeat: return answer(K::Replay, current);
        case PlayingMode::RepeatOnce:
            step.thenPlaying = PlayingMode::GoThroughPlaylistNormally;
            return answer(K::Replay, current);
        case PlayingMode::GoThroughPlaylistNormally:
        case PlayingMode::Introduction:
            if (forward) return answer(K::StepForward);
            if (m_modes.directionSelectable) return answer(K::StepBackward, at.gone ? current + 1 : current);
            return answer(K::Nothing);
        case PlayingMode::None: return answer(K::Nothing);
        }
        return answer(K::Nothing);
    }

    switch (m_modes.endOfList) {
    case EndOfListMode::SwitchToNext:
        if (box.current == 0 && box.entries.size() == 1) return answer(K::StopAndUnload);
        // The last playlist cannot move on: the same one starts over.
        step.playlist = box.current + 1 < box.entries.size() ? box.current + 1 : box.current;
        return answer(K::NextPlaylist);
    case EndOfListMode::Repeat: return answer(K::StartOver);
    case EndOfListMode::RepeatOnce:
        step.thenEndOfList = EndOfListMode::StopAfterEnding;
        return answer(K::StartOver);
    case EndOfListMode::PickRandomAfterEnding: {
        // Drawn among the real playlists of the box only; with none, nothing happens.
        QList<int> playlists;
        for (int i = 1; i < box.entries.size(); ++i)
            if (box.entries.at(i) != QLatin1String("((Select Playlist))")) playlists.append(i);
        if (playlists.isEmpty()) return answer(K::Nothing);
        const int pick = std::clamp(math_GetRandomNumber(int(playlists.size()), 0, false, 20), 1, int(playlists.size()));
        step.playlist = playlists.at(pick - 1);
        return answer(K::RandomPlaylist);
    }
    case EndOfListMode::StopAfterEnding: return answer(K::StopAndUnload);
    case EndOfListMode::None: return answer(K::Nothing);
    }
    return answer(K::Nothing);
}

} // namespace veltra
