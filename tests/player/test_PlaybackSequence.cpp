// The rules of what plays next, without a window or a file: the next-track decision for
// every playback and end-of-list mode and direction, the same-value searches, the steps of
// Next and Previous, the random history and the modes' change signal.
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modMath.h"
#include "player/PlaybackSequence.h"

#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

using namespace veltra;
using K = NextStep::Kind;

namespace {

class SequenceTest : public ::testing::Test {
protected:
    ListViewModel list;
    PlaybackSequence seq{&list};

    void SetUp() override { list.setColumns(PlaylistColumn::headers()); }

    // Rows "/m/<i>.mp3" with artist A<i> and status Play.
    void addRows(int n)
    {
        for (int i = 1; i <= n; ++i) {
            const int row = list.count() + 1;
            list.add({QString::number(row), QStringLiteral("A%1").arg(row), QStringLiteral("T%1").arg(row), QString(),
                      QStringLiteral("Play"), QString(), QStringLiteral("/m/%1.mp3").arg(row)});
        }
    }
    void setColumn(int column, const QStringList& values)
    {
        for (int r = 1; r <= values.size(); ++r) list.setSubItem(r, column, values.at(r - 1));
    }
    void modes(PlayingMode playing, PlayDirection direction = PlayDirection::Forward, EndOfListMode end = EndOfListMode::StopAfterEnding)
    {
        seq.setModes(PlaybackModes{playing, direction, true, end});
    }
    NextStep next(int current, int playNext = 0, const PlaylistChoice& box = {0, {QStringLiteral("((Select Playlist))")}})
    {
        return seq.next(PlayPosition{current}, playNext, box);
    }
};

struct Case {
    const char* name;
    PlayingMode playing;
    PlayDirection direction;
    EndOfListMode end;
    int current;      // of 3 rows
    int playNext;
    K kind;
    int row;
};

TEST_F(SequenceTest, DecisionByModeDirectionAndPlace)
{
    using P = PlayingMode;
    using D = PlayDirection;
    using E = EndOfListMode;
    const Case cases[] = {
        {"normal steps on", P::GoThroughPlaylistNormally, D::Forward, E::StopAfterEnding, 1, 0, K::StepForward, 0},
        {"introduction steps like normal", P::Introduction, D::Forward, E::StopAfterEnding, 2, 0, K::StepForward, 0},
        {"last row ends the list", P::GoThroughPlaylistNormally, D::Forward, E::StopAfterEnding, 3, 0, K::StopAndUnload, 0},
        {"backward steps up", P::GoThroughPlaylistNormally, D::Backward, E::StopAfterEnding, 3, 0, K::StepBackward, 3},
        {"backward, middle row", P::GoThroughPlaylistNormally, D::Backward, E::StopAfterEnding, 2, 0, K::StepBackward, 2},
        {"backward ends at row 1", P::GoThroughPlaylistNormally, D::Backward, E::StopAfterEnding, 1, 0, K::StopAndUnload, 0},
        {"backward, row 1, repeat", P::GoThroughPlaylistNormally, D::Backward, E::Repeat, 1, 0, K::StartOver, 0},
        {"repeat replays", P::Repeat, D::Forward, E::StopAfterEnding, 2, 0, K::Replay, 2},
        {"repeat once replays", P::RepeatOnce, D::Forward, E::StopAfterEnding, 1, 0, K::Replay, 1},
        {"stop after ending", P::StopAfterEnding, D::Forward, E::Repeat, 1, 0, K::StopAndUnload, 0},
        {"random pick", P::PickRandomSongs, D::Forward, E::StopAfterEnding, 1, 0, K::PickRandom, 0},
        {"random mode, last row: end of list", P::PickRandomSongs, D::Forward, E::StopAfterEnding, 3, 0, K::StopAndUnload, 0},
        {"playlist repeat", P::GoThroughPlaylistNormally, D::Forward, E::Repeat, 3, 0, K::StartOver, 0},
        {"playlist repeat once", P::GoThroughPlaylistNormally, D::Forward, E::RepeatOnce, 3, 0, K::StartOver, 0},
        {"mark wins at the end", P::GoThroughPlaylistNormally, D::Forward, E::StopAfterEnding, 3, 2, K::PlayMarked, 2},
        {"mark wins over stop", P::StopAfterEnding, D::Forward, E::StopAfterEnding, 1, 3, K::PlayMarked, 3},
        {"no playback mode", P::None, D::Forward, E::StopAfterEnding, 1, 0, K::Nothing, 0},
        {"no end-of-list mode", P::GoThroughPlaylistNormally, D::Forward, E::None, 3, 0, K::Nothing, 0},
    };
    addRows(3);
    for (const Case& c : cases) {
        modes(c.playing, c.direction, c.end);
        const NextStep step = next(c.current, c.playNext);
        EXPECT_EQ(step.kind, c.kind) << c.name;
        EXPECT_EQ(step.row, c.row) << c.name;
        // Only the "once" modes change the mode afterwards.
        EXPECT_EQ(step.thenPlaying.has_value(), c.playing == P::RepeatOnce && c.kind == K::Replay) << c.name;
        EXPECT_EQ(step.thenEndOfList.has_value(), c.end == E::RepeatOnce && c.kind == K::StartOver) << c.name;
    }
    modes(P::RepeatOnce);
    EXPECT_EQ(next(1).thenPlaying, P::GoThroughPlaylistNormally);
    modes(P::GoThroughPlaylistNormally, D::Forward, E::RepeatOnce);
    EXPECT_EQ(next(3).thenEndOfList, E::StopAfterEnding);

    // Backward with the direction items disabled (no mode that allows a direction) does nothing.
    seq.setModes(PlaybackModes{P::GoThroughPlaylistNormally, D::Backward, false, E::StopAfterEnding});
    EXPECT_EQ(next(2).kind, K::Nothing);
}

TEST_F(SequenceTest, SameValueSearchesLookOnlyFurtherDownIgnoringCase)
{
    addRows(5);
    setColumn(PlaylistColumn::Artist, {"X", "Y", "x", "Z", "W"});
    modes(PlayingMode::ShuffleByArtist);
    EXPECT_EQ(next(1).kind, K::PlayRow);
    EXPECT_EQ(next(1).row, 3);
    EXPECT_EQ(next(3).kind, K::Stop);   // row 1 matches too, but the search does not wrap

    setColumn(PlaylistColumn::Year, {"1990", "2000", "1990", "1990", ""});
    modes(PlayingMode::ShuffleByYear);
    EXPECT_EQ(next(2).kind, K::Stop);
    EXPECT_EQ(next(1).row, 3);
    EXPECT_FALSE(next(1).album.has_value());

    // By album: read through the reader from each row's file.
    const QMap<QString, QString> albums = {{"/m/1.mp3", "Blue"}, {"/m/2.mp3", "Red"}, {"/m/3.mp3", "blue"}, {"/m/4.mp3", "Blue"}};
    QStringList read;
    seq.setAlbumReader([&](const QString& file) {
        read.append(file);
        return albums.value(file);
    });
    modes(PlayingMode::ShuffleByAlbum);
    NextStep step = next(1);
    EXPECT_EQ(step.kind, K::PlayRow);
    EXPECT_EQ(step.row, 3);
    EXPECT_EQ(step.album, QStringLiteral("Blue"));
    EXPECT_EQ(step.lastAlbumCompared, QStringLiteral("blue"));
    EXPECT_EQ(read, QStringList({"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}));   // stops at the first match
    step = next(4);
    EXPECT_EQ(step.kind, K::Stop);
    EXPECT_EQ(step.lastAlbumCompared, QString());   // row 5 has no album
}

TEST_F(SequenceTest, EndOfListPlaylistModes)
{
    addRows(2);
    modes(PlayingMode::GoThroughPlaylistNormally, PlayDirection::Forward, EndOfListMode::SwitchToNext);
    const QStringList box = {"((Select Playlist))", "one", "two"};
    EXPECT_EQ(next(2, 0, {1, box}).kind, K::NextPlaylist);
    EXPECT_EQ(next(2, 0, {1, box}).playlist, 2);
    EXPECT_EQ(next(2, 0, {2, box}).playlist, 2);                     // the last one starts over
    EXPECT_EQ(next(2, 0, {0, box.mid(0, 1)}).kind, K::StopAndUnload); // no playlist at all

    modes(PlayingMode::GoThroughPlaylistNormally, PlayDirection::Forward, EndOfListMode::PickRandomAfterEnding);
    EXPECT_EQ(next(2, 0, {0, box.mid(0, 1)}).kind, K::Nothing);
    math::seed(7);
    QSet<int> drawn;
    const QStringList withPlaceholder = {"((Select Playlist))", "one", "((Select Playlist))", "two"};
    for (int i = 0; i < 40; ++i) {
        const NextStep step = next(2, 0, {1, withPlaceholder});
        ASSERT_EQ(step.kind, K::RandomPlaylist);
        drawn.insert(step.playlist);
    }
    EXPECT_EQ(drawn, QSet<int>({1, 3}));   // only real playlists, each of them
}

TEST_F(SequenceTest, RowsOfNextPreviousAndTheStartOfTheList)
{
    EXPECT_EQ(seq.previousPlayRow(1), 0);   // an empty list
    addRows(5);
    setColumn(PlaylistColumn::Status, {"Play", "Skip", "Play Once", "Play", "Remove"});
    EXPECT_EQ(seq.nextRow(4), 5);
    EXPECT_EQ(seq.nextRow(5), 1);
    EXPECT_EQ(seq.previousPlayRow(5), 4);
    EXPECT_EQ(seq.previousPlayRow(4), 1);
    EXPECT_EQ(seq.previousPlayRow(1), 4);   // round to the last "Play" row
    EXPECT_EQ(seq.previousPlayRow(9), 4);
    EXPECT_EQ(seq.previousPlayRow(0), 0);
    setColumn(PlaylistColumn::Status, {"Skip", "Skip", "Skip", "Skip", "Skip"});
    EXPECT_EQ(seq.previousPlayRow(3), 0);

    modes(PlayingMode::GoThroughPlaylistNormally, PlayDirection::Forward);
    EXPECT_EQ(seq.startRow(), 1);
    seq.setDirection(PlayDirection::Backward);
    EXPECT_EQ(seq.startRow(), 5);

    EXPECT_EQ(seq.rowOfFile(QStringLiteral("/m/4.mp3")), 4);
    EXPECT_EQ(seq.rowOfFile(QStringLiteral("/M/4.mp3")), 0);   // paths are equal only as texts
    EXPECT_EQ(seq.rowOfFile(QString()), 0);
}

TEST_F(SequenceTest, RandomHistoryAddsOnceAndIsWalkedOnlyInRandomMode)
{
    RandomPlayHistory& h = seq.history();
    h.add(QStringLiteral("/m/One.mp3"));
    EXPECT_EQ(h.count, 1);
    EXPECT_EQ(h.cursor, 1);
    EXPECT_EQ(h.names, QStringList({QString(), QStringLiteral("/m/One.mp3")}));
    h.add(QStringLiteral("/m/Two.mp3"));
    h.cursor = 1;
    h.add(QStringLiteral("/m/One.mp3"));   // known: nothing moves
    EXPECT_EQ(h.count, 2);
    EXPECT_EQ(h.cursor, 1);
    h.add(QString());                      // equals the empty entry 0
    EXPECT_EQ(h.count, 2);

    modes(PlayingMode::GoThroughPlaylistNormally);
    EXPECT_FALSE(seq.stepHistory(1).has_value());
    modes(PlayingMode::PickRandomSongs);
    EXPECT_EQ(seq.stepHistory(1), QStringLiteral("/m/Two.mp3"));
    EXPECT_FALSE(seq.stepHistory(1).has_value());   // at the newest entry
    EXPECT_EQ(seq.stepHistory(-1), QStringLiteral("/m/One.mp3"));
    EXPECT_EQ(seq.stepHistory(-1), QString());      // entry 0
    EXPECT_FALSE(seq.stepHistory(-1).has_value());
    EXPECT_EQ(h.cursor, 0);

    h.reset();
    EXPECT_EQ(h.count, 0);
    EXPECT_EQ(h.cursor, 0);
    EXPECT_EQ(h.names, QStringList{QString()});
    EXPECT_FALSE(seq.stepHistory(-1).has_value());
}

TEST_F(SequenceTest, EveryModeChangeIsSignalled)
{
    int changed = 0;
    QObject::connect(&seq, &PlaybackSequence::modesChanged, [&] { ++changed; });
    seq.setPlayingMode(PlayingMode::Repeat, false);
    seq.setDirection(PlayDirection::Backward);
    seq.setEndOfListMode(EndOfListMode::SwitchToNext);
    EXPECT_EQ(changed, 3);
    EXPECT_EQ(seq.modes(), (PlaybackModes{PlayingMode::Repeat, PlayDirection::Backward, false, EndOfListMode::SwitchToNext}));
}

} // namespace

TEST(PlaybackModeKeys, RoundTripInMenuOrder)
{
    const QStringList playing = playingModeKeys();
    ASSERT_EQ(playing.size(), 9);
    EXPECT_EQ(playing.first(), QStringLiteral("PlayingShuffleByArtist"));
    EXPECT_EQ(playing.last(), QStringLiteral("PlayingGoThroughPlaylistNormally"));
    for (const QString& key : playing) EXPECT_EQ(playingModeKey(playingModeOfKey(key)), key);
    const QStringList end = endOfListModeKeys();
    EXPECT_EQ(end, QStringList({"PlaylistRepeat", "PlaylistRepeatOnce", "PlaylistStopAfterEnding", "PlaylistPickRandomAfterEnding",
                                "PlaylistSwitchToNext"}));
    for (const QString& key : end) EXPECT_EQ(endOfListModeKey(endOfListModeOfKey(key)), key);
    EXPECT_EQ(playingModeOfKey(QStringLiteral("PlaylistRepeat")), PlayingMode::None);
    EXPECT_EQ(endOfListModeOfKey(QStringLiteral("playlistrepeat")), EndOfListMode::None);
    EXPECT_TRUE(playingModeKey(PlayingMode::None).isEmpty());
    for (const QString& key : playing)
        EXPECT_EQ(directionSelectable(playingModeOfKey(key)),
                  key == QLatin1String("PlayingIntroduction") || key == QLatin1String("PlayingGoThroughPlaylistNormally"));
}

TEST_F(SequenceTest, RowToStartAppliesTheStatusesOfARunInOnePass)
{
    struct StartCase {
        const char* statuses;   // one letter a row: P Play, O Play Once, S Skip, K Skip Once, R Remove, ? other
        const char* missing;    // rows whose file is missing, as '1'..'9'
        int from;
        RowToStart::Kind kind;
        int row;
        QList<int> passedOnce;
    };
    using S = RowToStart::Kind;
    const StartCase cases[] = {
        {"P", "", 1, S::Play, 1, {}},
        {"OR?", "", 1, S::Play, 1, {}},
        {"OR?", "", 2, S::Play, 2, {}},
        {"OR?", "", 3, S::Play, 3, {}},
        {"KP", "", 1, S::Play, 2, {1}},
        {"KKKP", "", 2, S::Play, 4, {2, 3}},
        {"K", "", 1, S::HandOff, 1, {1}},
        {"SSP", "", 1, S::Play, 3, {}},
        {"SS", "", 1, S::Nothing, 2, {}},
        {"PS", "", 2, S::HandOff, 2, {}},
        {"SKSP", "", 1, S::Play, 4, {2}},
        {"SKSK", "", 1, S::HandOff, 4, {2, 4}},
        {"KPP", "2", 1, S::Play, 3, {1}},     // a missing file gives way to the next existing one
        {"KP", "2", 1, S::NoFiles, 2, {1}},
        {"PKS", "1", 1, S::HandOff, 3, {2}},
    };
    for (const StartCase& c : cases) {
        list.clear();
        const QString statuses = QString::fromLatin1(c.statuses);
        addRows(int(statuses.size()));
        const QMap<QChar, const char*> names = {{'P', "Play"}, {'O', "Play Once"}, {'S', "Skip"}, {'K', "Skip Once"}, {'R', "Remove"}, {'?', "x"}};
        for (int r = 1; r <= statuses.size(); ++r) list.setSubItem(r, PlaylistColumn::Status, QString::fromLatin1(names.value(statuses.at(r - 1))));
        const QString missing = QString::fromLatin1(c.missing);
        seq.setFileCheck([&](const QString& file) { return !missing.contains(file.mid(3, 1)); });   // "/m/<n>.mp3"
        const RowToStart start = seq.rowToStart(c.from);
        EXPECT_EQ(start.kind, c.kind) << c.statuses << " from " << c.from;
        EXPECT_EQ(start.row, c.row) << c.statuses << " from " << c.from;
        EXPECT_EQ(start.passedOnce, c.passedOnce) << c.statuses << " from " << c.from;
    }
    EXPECT_EQ(seq.firstRowWithFile(0), 2);   // from the top; row 1's file is missing
    EXPECT_EQ(seq.firstRowWithFile(4), 0);
}

TEST_F(SequenceTest, HandOffsStopOnlyOnComingBackToAPlaylistAlreadyLeft)
{
    EXPECT_TRUE(seq.beginHandOff(2));
    EXPECT_TRUE(seq.beginHandOff(3));   // on to another playlist
    EXPECT_FALSE(seq.beginHandOff(2));  // back round: stop
    seq.endHandOff(3);
    seq.endHandOff(2);
    EXPECT_TRUE(seq.beginHandOff(2));   // a hand-off that has ended does not count
    EXPECT_TRUE(seq.beginHandOff(4));
    seq.songStarted();
    EXPECT_TRUE(seq.beginHandOff(2));   // nor one before a song started
}

// The current row left the list: its place lies after `row`, which stands for it.
TEST_F(SequenceTest, GoneCurrentRowGoesOnFromItsPlace)
{
    addRows(3);
    EXPECT_FALSE(seq.position(2).gone);
    seq.currentRowGone(2);
    EXPECT_TRUE(seq.position(2).gone);
    EXPECT_FALSE(seq.position(1).gone);   // another row made current since
    list.insert(1, {"0", "new"});         // the row before the place is followed by its key
    EXPECT_TRUE(seq.position(3).gone);
    seq.songStarted();
    EXPECT_FALSE(seq.position(3).gone);
    seq.currentRowGone(0);
    EXPECT_TRUE(seq.position(0).gone);
    EXPECT_FALSE(seq.position(1).gone);

    list.remove(1);
    auto gone = [&](int row) { return seq.next(PlayPosition{row, true}, 0, {0, {QStringLiteral("((Select Playlist))")}}); };
    modes(PlayingMode::GoThroughPlaylistNormally, PlayDirection::Backward, EndOfListMode::Repeat);
    EXPECT_EQ(gone(2).kind, K::StepBackward);
    EXPECT_EQ(gone(2).row, 3);                 // Previous steps back from the place: row 2 plays
    EXPECT_EQ(gone(3).row, 4);                 // the last row went: row 3 plays
    EXPECT_EQ(gone(1).kind, K::StepBackward);  // row 1 is still to play
    EXPECT_EQ(gone(0).kind, K::StartOver);     // the first row went: the end of the list
    modes(PlayingMode::GoThroughPlaylistNormally, PlayDirection::Forward, EndOfListMode::Repeat);
    EXPECT_EQ(gone(0).kind, K::StepForward);
    EXPECT_EQ(gone(3).kind, K::StartOver);     // the last row went
}
