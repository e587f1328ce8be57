// Faults met by driving the running player fast and in odd orders: commands given while a
// song is paused, removed or ending.
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "controls/ctlQX_wTextPanel.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QComboBox>
#include <QTest>

namespace {
class PlayerUnderStressTest : public StartupFixture {};
using State = veltra::MediaPlayerControl::State;
} // namespace

// The video window's pause button says "Play" only while a song waits paused: whatever ends
// the pause (Stop, Next, Previous) gives it back its "Pause", so a song played afterwards is
// not shown as paused.
TEST_F(PlayerUnderStressTest, LeavingAPauseGivesThePauseButtonItsCaptionBack)
{
    const struct {
        const char* name;
        Qt::Key leave;
    } cases[] = {{"Stop", Qt::Key_S}, {"Next", Qt::Key_N}, {"Previous", Qt::Key_V}};
    writePlaylist("Playlists/default.spp", {song("a.mp3"), song("b.mp3"), song("c.mp3")});
    start();
    FrmMain& m = main();
    FrmVideo& video = forms().get<FrmVideo>();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controls_SelectItem(m.rows(), 2);
        QTest::keyClick(m.lstvPlaylist, Qt::Key_P);
        ASSERT_EQ(m.wmpPlayer().PlayState(), State::Playing);
        QTest::keyClick(m.lstvPlaylist, Qt::Key_U);
        ASSERT_EQ(video.qxbPause->Caption(), QStringLiteral("Play"));
        QTest::keyClick(m.lstvPlaylist, c.leave);
        if (m.wmpPlayer().PlayState() != State::Playing) QTest::keyClick(m.lstvPlaylist, Qt::Key_P);
        processEvents(20);
        EXPECT_EQ(m.wmpPlayer().PlayState(), State::Playing);
        EXPECT_FALSE(m.ResumePending);
        EXPECT_EQ(video.qxbPause->Caption(), QStringLiteral("Pause"));
        m.player_Stop();
    }
}

// Once shown, the keys go to the playlist, not to the playlists box: an arrow key moves the
// selection and leaves the songs given on the command line where they are, instead of loading
// the next saved playlist over them.
TEST_F(PlayerUnderStressTest, AfterStartTheArrowKeysMoveInThePlaylist)
{
    writePlaylist("Playlists/other.spp", {song("x.mp3")});
    start({song("a.mp3"), song("b.mp3"), song("c.mp3")});
    FrmMain& m = main();
    processEvents(50);
    ASSERT_EQ(m.rows().count(), 3);
    QWidget* keys = m.focusWidget();
    ASSERT_NE(keys, nullptr);
    controls_SelectItem(m.rows(), 1);
    QTest::keyClick(keys, Qt::Key_Down);
    processEvents(20);
    EXPECT_EQ(m.rows().count(), 3);
    EXPECT_EQ(m.cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(m.rows().selectedRows(), QList<int>{2});
}
