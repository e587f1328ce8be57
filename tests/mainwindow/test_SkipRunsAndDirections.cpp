// Rows passed over by their status, and the way on when the playing row has gone: long runs
// of "Skip Once" rows, playlists of nothing but "Skip" rows handed on one after another, and
// a "Remove" row removed while it plays, in both directions.
#include "PlaybackFixture.h"

#include "common/PlaylistRow.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QComboBox>

#include <sys/resource.h>

namespace {

// The main thread's stack limited to `bytes` while it lives, so a recursion that grows with
// its input fails at a size any machine (or a sanitizer build) could meet.
class StackLimit {
public:
    explicit StackLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_STACK, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = std::min<rlim_t>(bytes, m_old.rlim_cur);
        setrlimit(RLIMIT_STACK, &limited);
    }
    ~StackLimit() { setrlimit(RLIMIT_STACK, &m_old); }

private:
    rlimit m_old{};
};

class SkipRunStartTest : public StartupFixture {};

// A run far longer than a stack of nested calls can hold, started from the command line.
TEST_F(SkipRunStartTest, LongRunOfSkipOnceRowsPlaysTheRowAfterIt)
{
    constexpr int kRun = 20000;
    const QString skipped = song(QStringLiteral("skipped.mp3"));
    const QString played = song(QStringLiteral("played.mp3"));
    QByteArray text;
    auto row = [&](int n, const char* status, const QString& file) {
        for (const QString& cell : {QString::number(n), QStringLiteral("A"), QStringLiteral("T"), QString(), QString::fromLatin1(status), QString(), file})
            text += '"' + cell.toUtf8() + "\"\r\n";
    };
    for (int n = 1; n <= kRun; ++n) row(n, "Skip Once", skipped);
    row(kRun + 1, "Play", played);
    writeFile(QStringLiteral("Playlists/default.spp"), text);

    {
        const StackLimit limit(2 * 1024 * 1024);
        start({QStringLiteral("/play")});
    }
    FrmMain& m = main();
    ASSERT_EQ(m.rows().count(), kRun + 1);
    EXPECT_EQ(m.wmpPlayer().FileName(), played);
    EXPECT_EQ(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_EQ(m.CurrentTrack, kRun + 1);
    EXPECT_EQ(m.rows().selectedRows(), QList<int>{kRun + 1});
    // Each row passed over once plays the next time.
    for (int r : {1, kRun / 2, kRun}) EXPECT_EQ(playlist_RowStatus(m.rows(), r), RowStatus::Play) << r;
}

} // namespace

namespace {

// Playlists handed on one after another while each holds nothing but Skip rows: the hand-off
// goes on until it comes back to a playlist it has already left without a song starting.
TEST_F(PlaybackTest, SkipOnlyPlaylistsAreHandedOnToTheNextPlayablePlaylist)
{
    writePlaylist(QStringLiteral("a"), {song(QStringLiteral("a1.mp3"))});
    writePlaylist(QStringLiteral("b"), {song(QStringLiteral("b1.mp3"))}, QStringLiteral("Skip"));
    writePlaylist(QStringLiteral("c"), {song(QStringLiteral("c1.mp3"))}, QStringLiteral("Skip"));
    writePlaylist(QStringLiteral("d"), {song(QStringLiteral("d1.mp3"))});
    installPlaylists();
    ASSERT_EQ(main->cmbPlaylists->count(), 5);
    main->mnuPlaylistSwitchToNext_Click();
    main->cmbPlaylists->setCurrentIndex(1);
    playRow(1);
    ASSERT_TRUE(playing());

    endSong();
    EXPECT_EQ(main->cmbPlaylists->currentText(), QStringLiteral("d"));
    EXPECT_EQ(player->FileName(), home(QStringLiteral("Music/d1.mp3")));
    EXPECT_TRUE(playing());
    EXPECT_EQ(playedLines().size(), 2);

    // d ends: the last playlist starts over and plays again; the hand-offs before do not count.
    endSong();
    EXPECT_EQ(player->FileName(), home(QStringLiteral("Music/d1.mp3")));
    EXPECT_TRUE(playing());
}

} // namespace

namespace {

// A "Remove" row leaves the list as it starts; when its song ends the row that came next in
// the play direction plays, and a removed row that was the last in that direction ends the list.
TEST_F(PlaybackTest, RemovedPlayingRowHandsOverInThePlayDirection)
{
    addSongs(4);
    const QString before = file(2);
    setStatus(3, "Remove");
    main->mnuWorkBackwardsThroughPlaylist_Click();
    playRow(3);
    ASSERT_EQ(list().count(), 3);
    endSong();
    EXPECT_EQ(player->FileName(), before);   // backward: the row before it
    EXPECT_TRUE(playing());

    // Forward, the row after it.
    list().clear();
    addSongs(4, QStringLiteral("f"));
    const QString next = file(3);
    setStatus(2, "Remove");
    main->mnuWorkForwardThroughList_Click();
    playRow(2);
    endSong();
    EXPECT_EQ(player->FileName(), next);
}

TEST_F(PlaybackTest, RemovedRowAtTheEndInThePlayDirectionAppliesTheEndOfListMode)
{
    struct Case {
        bool backward;
        int removed;   // of 3 rows
        int starts;    // the row (of the 2 left) that the list repeats from
    };
    for (const Case& c : {Case{true, 1, 2}, Case{false, 3, 1}}) {
        list().clear();
        addSongs(3, c.backward ? QStringLiteral("b") : QStringLiteral("f"));
        setStatus(c.removed, "Remove");
        if (c.backward) main->mnuWorkBackwardsThroughPlaylist_Click();
        else main->mnuWorkForwardThroughList_Click();
        main->mnuPlaylistRepeat_Click();
        playRow(c.removed);
        ASSERT_EQ(list().count(), 2);
        endSong();
        EXPECT_TRUE(playing()) << c.backward;
        EXPECT_EQ(player->FileName(), file(c.starts)) << c.backward;

        // Stop After Ending stops there instead.
        list().clear();
        addSongs(3, c.backward ? QStringLiteral("sb") : QStringLiteral("sf"));
        setStatus(c.removed, "Remove");
        main->mnuPlaylistStopAfterEnding_Click();
        playRow(c.removed);
        endSong();
        EXPECT_FALSE(playing()) << c.backward;
        EXPECT_EQ(player->FileName(), QStringLiteral("1")) << c.backward;
    }
}

} // namespace
