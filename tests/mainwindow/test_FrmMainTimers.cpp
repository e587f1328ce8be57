// The main window's polling: the position and status timer and the window update timer.
#include "MainWindowFixture.h"

#include "common/PlaylistRow.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "controls/ctlQX_wScrollbar.h"
#include "platform/MediaPlayerFactory.h"
#include "player/FrmVideo.h"

#include <QSlider>
#include <QStatusBar>
#include <QToolBar>

#include <optional>

namespace {

// The test player, which can also hold on to what it last reported (a player that has not
// yet started the next file) or report a state of its own.
class ScriptedPlayer : public veltra::FakeMediaPlayerControl {
public:
    using FakeMediaPlayerControl::FakeMediaPlayerControl;

    void freeze()
    {
        m_file = FakeMediaPlayerControl::FileName();
        m_position = FakeMediaPlayerControl::CurrentPosition();
        m_state = FakeMediaPlayerControl::PlayState();
        m_frozen = true;
    }
    void thaw() { m_frozen = false; }
    std::optional<State> forcedState;

    QString FileName() const override { return m_frozen ? m_file : FakeMediaPlayerControl::FileName(); }
    double CurrentPosition() const override { return m_frozen ? m_position : FakeMediaPlayerControl::CurrentPosition(); }
    State PlayState() const override
    {
        if (forcedState) return *forcedState;
        return m_frozen ? m_state : FakeMediaPlayerControl::PlayState();
    }

private:
    bool m_frozen = false;
    QString m_file;
    double m_position = 0;
    State m_state = State::Stopped;
};

class TimersTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        veltra::setMediaPlayerFactory([](QObject* parent) { return new ScriptedPlayer(parent); });
    }
    ScriptedPlayer& scripted() { return static_cast<ScriptedPlayer&>(main().wmpPlayer()); }
    ctlQX_wScrollbar& videoPosition() { return *forms().get<FrmVideo>().qxsPosition; }
    QString panel(int i) { return main().statusPanelText(i); }
};

} // namespace

TEST_F(TimersTest, StatusAndTimeTextsFollowThePlayer)
{
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));
    EXPECT_EQ(panel(3), QStringLiteral("Elapsed:  None"));
    EXPECT_EQ(tray_Tip(), QStringLiteral("VELTRA:  Stopped"));

    player().nextDuration = 200;
    playRow(1);
    m.tmrPosition_Timer();
    EXPECT_EQ(m.PlayerState, FrmMain::Playback::Playing);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Playing... 01.  A - T"));
    EXPECT_EQ(tray_Tip(), QStringLiteral("VELTRA:  Playing\r\n01. A - T"));

    // Halves go to the even neighbour: both show 01:16.
    player().setCurrentPosition(75.5);
    m.tmrPosition_Timer();
    EXPECT_EQ(panel(3), QStringLiteral("Elapsed:  01:16"));
    EXPECT_EQ(m.sldPosition->value(), 76);
    player().setCurrentPosition(76.5);
    m.tmrPosition_Timer();
    EXPECT_EQ(panel(3), QStringLiteral("Elapsed:  01:16"));
    EXPECT_EQ(m.sldPosition->value(), 76);
    EXPECT_EQ(m.sldPosition->maximum(), 200);
    EXPECT_TRUE(m.sldPosition->isEnabled());
    EXPECT_EQ(videoPosition().value(), 76);
    EXPECT_EQ(videoPosition().Max(), 200);
    EXPECT_TRUE(videoPosition().isEnabled());

    m.mnuStatusBarShowTimeElapsed->setChecked(false);
    m.mnuStatusBarShowTimeRemaining->setChecked(true);
    m.tmrPosition_Timer();
    EXPECT_EQ(panel(3), QStringLiteral("Remaining:  02:04"));   // 123.5 s

    // Pausing freezes both position sliders where they are and disables them.
    m.mnuPause_Click();
    m.tmrPosition_Timer();
    EXPECT_EQ(m.PlayerState, FrmMain::Playback::Paused);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Paused... 01.  A - T"));
    EXPECT_EQ(tray_Tip(), QStringLiteral("VELTRA:  Paused\r\n01. A - T"));
    EXPECT_FALSE(m.sldPosition->isEnabled());
    EXPECT_FALSE(videoPosition().isEnabled());
    player().setCurrentPosition(120);
    m.tmrPosition_Timer();
    EXPECT_EQ(m.sldPosition->value(), 76);
    EXPECT_EQ(videoPosition().value(), 76);

    // Stopping while playing sets them to 0 of 100.
    m.mnuStop_Click();
    m.tmrPosition_Timer();
    playRow(1);
    player().setCurrentPosition(50);
    m.tmrPosition_Timer();
    ASSERT_TRUE(m.sldPosition->isEnabled());
    m.mnuStop_Click();
    m.tmrPosition_Timer();
    EXPECT_EQ(m.PlayerState, FrmMain::Playback::Stopped);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));
    EXPECT_EQ(panel(3), QStringLiteral("Remaining:  None"));
    EXPECT_EQ(tray_Tip(), QStringLiteral("VELTRA:  Stopped"));
    EXPECT_EQ(m.sldPosition->value(), 0);
    EXPECT_EQ(m.sldPosition->maximum(), 100);
    EXPECT_EQ(videoPosition().value(), 0);
    EXPECT_EQ(videoPosition().Max(), 100);
    EXPECT_FALSE(m.sldPosition->isEnabled());

    // Neither time item: panel 3 stays as last written.
    m.mnuStatusBarShowTimeRemaining->setChecked(false);
    playRow(2);
    m.tmrPosition_Timer();
    EXPECT_EQ(panel(3), QStringLiteral("Remaining:  None"));
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Playing... 02.  B - U"));
}

TEST_F(TimersTest, RemainingTimeIsInMinutesOnlyAndABusyPanelIsLeftAlone)
{
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    m.mnuStatusBarShowTimeElapsed->setChecked(false);
    m.mnuStatusBarShowTimeRemaining->setChecked(true);
    player().nextDuration = 3725;
    playRow(1);
    m.StatusBarBusy = true;
    m.setStatusPanelText(1, QStringLiteral("Updating the playlist entries, please wait..."));
    m.tmrPosition_Timer();
    EXPECT_EQ(panel(3), QStringLiteral("Remaining:  62:05"));
    EXPECT_EQ(panel(1), QStringLiteral("Updating the playlist entries, please wait..."));
    EXPECT_EQ(tray_Tip(), QStringLiteral("VELTRA:  Playing\r\n01. A - T"));

    // Tray support off: the tip is never touched.
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("UseSystemTraySupport"), QStringLiteral("0"));
    tray_SetTip(QStringLiteral("untouched"));
    m.tmrPosition_Timer();
    EXPECT_EQ(tray_Tip(), QStringLiteral("untouched"));
}

TEST_F(TimersTest, PlaybackCommandsAreEnabledByThePlayersState)
{
    startDefault();
    FrmMain& m = main();
    FrmMenus& p = menus();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    auto expectState = [&](bool playing, bool playingOrPaused, const char* when) {
        const std::pair<QAction*, bool> items[] = {
            {m.mnuJumpToTime, playing},          {m.mnuJumpToCurrentlyPlaying, playingOrPaused},
            {p.mnuSelectPlaying, playingOrPaused}, {m.mnuRewind, playing},
            {m.mnuFastForward, playing},         {m.mnuPause, playingOrPaused},
            {m.mnuStop, playingOrPaused},        {m.mnuPlayNext, playingOrPaused},
            {p.mnuPlayNext, playingOrPaused},    {p.mnuRewind, playing},
            {p.mnuFastForward, playing},         {p.mnuPause, playingOrPaused},
            {p.mnuStop, playingOrPaused},        {m.toolbarButton(QStringLiteral("Rewind")), playing},
            {m.toolbarButton(QStringLiteral("Pause")), playingOrPaused},
            {m.toolbarButton(QStringLiteral("Stop")), playingOrPaused},
            {m.toolbarButton(QStringLiteral("FastForward")), playing},
        };
        for (const auto& [a, on] : items) EXPECT_EQ(a->isEnabled(), on) << when << ": " << a->objectName().toStdString();
    };
    m.tmrPosition_Timer();
    expectState(false, false, "stopped");
    playRow(1);
    m.tmrPosition_Timer();
    expectState(true, true, "playing");
    m.mnuPause_Click();
    m.tmrPosition_Timer();
    expectState(false, true, "paused");
    // A state the player does not otherwise report counts as stopped.
    scripted().forcedState = static_cast<veltra::MediaPlayerControl::State>(7);
    m.tmrPosition_Timer();
    expectState(false, false, "unknown state");
    EXPECT_EQ(m.PlayerState, FrmMain::Playback::Stopped);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));
}

TEST_F(TimersTest, IntroductionModeMovesOnOnceTheRateIsReachedAndOnlyOncePerSong)
{
    startDefault();
    FrmMain& m = main();
    for (const char* a : {"A", "B", "C", "D"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    m.mnuPlayingIntroduction_Click();
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("IntroductionRate"), QStringLiteral("30"));
    playRow(1);
    m.tmrPosition_Timer();
    player().setCurrentPosition(29.4);
    m.tmrPosition_Timer();
    EXPECT_EQ(m.CurrentTrack, 1);

    // The tick came late: 31 s is past the rate, so the song still moves on.
    player().setCurrentPosition(31.2);
    scripted().freeze();   // the player reports the old song until the next one has started
    m.tmrPosition_Timer();
    EXPECT_EQ(m.CurrentTrack, 2);
    m.tmrPosition_Timer();
    m.tmrPosition_Timer();
    EXPECT_EQ(m.CurrentTrack, 2);   // not again for the same song
    scripted().thaw();
    EXPECT_EQ(player().FileName(), rows().subItem(2, PlaylistColumn::Filename));

    // The next song moves on when it reaches the rate itself, even exactly.
    m.tmrPosition_Timer();
    EXPECT_EQ(m.CurrentTrack, 2);
    player().advance(30);
    m.tmrPosition_Timer();
    EXPECT_EQ(m.CurrentTrack, 3);

    // Outside introduction mode the position does not matter.
    m.mnuPlayingGoThroughPlaylistNormally_Click();
    player().advance(45);
    m.tmrPosition_Timer();
    EXPECT_EQ(m.CurrentTrack, 3);
}

TEST_F(TimersTest, SongCountAndSelectionTextsFollowTheList)
{
    startDefault();
    FrmMain& m = main();
    m.tmrWindowUpdate_Timer();
    EXPECT_EQ(panel(2), QStringLiteral("Songs:  None"));
    EXPECT_EQ(m.lstvPlaylist->toolTip(), QString());
    for (int i = 0; i < 5; ++i) addRow(QStringLiteral("Artist %1").arg(i), QStringLiteral("T"));
    rows().clearSelection();
    m.tmrWindowUpdate_Timer();
    EXPECT_EQ(panel(2), QStringLiteral("Songs:  5"));
    EXPECT_EQ(m.lstvPlaylist->toolTip(), QStringLiteral("Songs Selected:  0"));
    for (int r : {1, 3, 4}) rows().setSelected(r, true);
    m.tmrWindowUpdate_Timer();
    EXPECT_EQ(m.lstvPlaylist->toolTip(), QStringLiteral("Songs Selected:  3"));
    controls_SelectItem(rows(), 2);
    m.tmrWindowUpdate_Timer();
    EXPECT_EQ(m.lstvPlaylist->toolTip(), QString());
}

TEST_F(TimersTest, WindowUpdateEnablesCommandsFromThePlaylist)
{
    startDefault();
    FrmMain& m = main();
    FrmMenus& p = menus();

    // Empty: the playback controls and the row commands are off.
    m.tmrWindowUpdate_Timer();
    for (QAction* a : {m.mnuPlay, m.mnuNextTrack, m.mnuSave, m.mnuSort->menuAction(), m.mnuSelectAll, m.mnuCopy, m.mnuCut,
                       m.mnuLockPlaylist, m.mnuGeneratePlaylist, m.mnuPaste, m.mnuClear, p.mnuPlay2, p.mnuQueue->menuAction(),
                       p.mnuSendTo->menuAction(), m.toolbarButton(QStringLiteral("Play")), m.toolbarButton(QStringLiteral("NextPlaylist"))})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(p.mnuPlaySong->isChecked());

    addRow(QStringLiteral("A"), QStringLiteral("T"));
    controls_SelectItem(rows(), 1);
    m.tmrWindowUpdate_Timer();
    for (QAction* a : {m.mnuPlay, m.mnuNextTrack, m.mnuSave, m.mnuSort->menuAction(), m.mnuSelectAll, m.mnuCopy, m.mnuCut,
                       m.mnuLockPlaylist, m.mnuGeneratePlaylist, p.mnuPlay2, p.mnuQueue->menuAction(), p.mnuSendTo->menuAction(),
                       m.toolbarButton(QStringLiteral("Play")), m.toolbarButton(QStringLiteral("NextPlaylist"))})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(m.mnuSelectedMoveUp->isEnabled());
    EXPECT_FALSE(m.mnuSelectedMoveDown->isEnabled());

    // Two rows, the second selected: up only.
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    controls_SelectItem(rows(), 2);
    m.tmrWindowUpdate_Timer();
    EXPECT_TRUE(m.mnuSelectedMoveUp->isEnabled());
    EXPECT_FALSE(m.mnuSelectedMoveDown->isEnabled());
    controls_SelectItem(rows(), 1);
    m.tmrWindowUpdate_Timer();
    EXPECT_FALSE(m.mnuSelectedMoveUp->isEnabled());
    EXPECT_TRUE(m.mnuSelectedMoveDown->isEnabled());

    // The Queue marks follow the selected row's status, compared exactly.
    rows().setSubItem(1, PlaylistColumn::Status, QStringLiteral("Skip Once"));
    m.tmrWindowUpdate_Timer();
    EXPECT_TRUE(p.mnuSkipOnce->isChecked());
    EXPECT_FALSE(p.mnuPlaySong->isChecked());
    rows().setSubItem(1, PlaylistColumn::Status, QStringLiteral("skip"));
    m.tmrWindowUpdate_Timer();
    EXPECT_TRUE(p.mnuSkipOnce->isChecked());
    EXPECT_FALSE(p.mnuSkip->isChecked());

    // Paste and Clear need something in the buffer.
    m.EntryBuffer.append(rows().cells(1).mid(1));
    m.tmrWindowUpdate_Timer();
    EXPECT_TRUE(m.mnuPaste->isEnabled());
    EXPECT_TRUE(m.mnuClear->isEnabled());
    m.mnuClear_Click();
    m.tmrWindowUpdate_Timer();
    EXPECT_FALSE(m.mnuPaste->isEnabled());

    // With only "((Select Playlist))" the playlist commands are off though rows are there.
    EXPECT_EQ(m.cmbPlaylists->count(), 1);
    EXPECT_FALSE(m.mnuRenameCurrentPlaylist->isEnabled());
    EXPECT_FALSE(m.mnuDeleteCurrentPlaylist->isEnabled());
    EXPECT_FALSE(m.mnuDeleteAllPlaylists->isEnabled());
    m.cmbPlaylists->addItem(QStringLiteral("Rock"));
    m.tmrWindowUpdate_Timer();
    EXPECT_FALSE(m.mnuRenameCurrentPlaylist->isEnabled());
    EXPECT_TRUE(m.mnuDeleteAllPlaylists->isEnabled());

    // A locked playlist keeps what the lock set; an emptied locked playlist is unlocked.
    m.mnuLockPlaylist_Click();
    ASSERT_TRUE(m.mnuLockPlaylist->isChecked());
    m.mnuCopy->setEnabled(false);
    m.tmrWindowUpdate_Timer();
    EXPECT_FALSE(m.mnuCopy->isEnabled());
    rows().clear();
    m.tmrWindowUpdate_Timer();
    EXPECT_FALSE(m.mnuLockPlaylist->isChecked());
    EXPECT_FALSE(m.mnuLockPlaylist->isEnabled());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist")), QStringLiteral("0"));
}

TEST_F(TimersTest, ListIsKeptJustUnderTheBands)
{
    startDefault();
    FrmMain& m = main();
    m.resize(800, 500);
    m.show();
    processEvents(20);
    const int bands = m.cbToolbar->height() + m.cbControls->height();
    EXPECT_EQ(m.lstvPlaylist->y(), bands);
    m.lstvPlaylist->move(0, 3);
    m.tmrWindowUpdate_Timer();
    EXPECT_EQ(m.lstvPlaylist->y(), bands);
    EXPECT_EQ(m.lstvPlaylist->y() + m.lstvPlaylist->height(), m.sbStatusBar->y());

    // With the toolbar switched off the list is left where it is.
    m.mnuShowToolbar->setChecked(false);
    m.cbToolbar->hide();
    m.cbControls->hide();
    m.lstvPlaylist->move(0, 0);
    m.tmrWindowUpdate_Timer();
    EXPECT_EQ(m.lstvPlaylist->y(), 0);
    m.Form_Resize();
    EXPECT_EQ(m.lstvPlaylist->height(), m.sbStatusBar->y());

    // Shown again: the bands come back at the top and the timer moves the list under them.
    m.mnuShowToolbar->setChecked(true);
    m.cbToolbar->show();
    m.cbControls->show();
    m.tmrWindowUpdate_Timer();
    EXPECT_EQ(m.cbToolbar->y(), 0);
    EXPECT_EQ(m.cbControls->y(), m.cbToolbar->height());
    EXPECT_EQ(m.lstvPlaylist->y(), bands);
}
