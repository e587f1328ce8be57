// Rows passed over by their status, and the way on when the playing row has gone: long runs
// of "Skip Once" rows, playlists of nothing but "Skip" rows handed on one after another, and
// a "Remove" row removed while it plays, in both directions.
#include "PlaybackFixture.h"

#include "common/PlaylistRow.h"
#include "player/FrmMain.h"
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
