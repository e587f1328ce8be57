// The CD player window on simulated drives, opened through the main window's command in
// the program as start-up leaves it; its timers run in the event loop.
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "extras/FrmCDPlayer.h"
#include "mainwindow/FrmMenus.h"
#include "platform/CdTestSupport.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmPreferences.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

class CdPlayerTest : public StartupFixture, protected SimulatedCd {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        installCd();
    }
    void TearDown() override
    {
        StartupFixture::TearDown();
        uninstallCd();
    }

    // The program started and the CD player opened from the main window's menu.
    FrmCDPlayer& open(const QStringList& arguments = {})
    {
        start(arguments);
        if (!main().mnuOpenCDPlayer->isChecked()) main().mnuOpenCDPlayer->trigger();
        return cdPlayer();
    }
    FrmCDPlayer& cdPlayer() { return forms().get<FrmCDPlayer>(); }
    ListViewModel& rows() { return cdPlayer().rows(); }
    QString panel(int n) { return cdPlayer().statusPanelText(n); }
    // Lets the status timer tick twice, however loaded the machine: a tick shows the track
    // that the tick before it followed.
    void ticks()
    {
        int ticked = 0;
        QObject watch;
        QObject::connect(cdPlayer().tmrWindowUpdate, &QTimer::timeout, &watch, [&ticked] { ++ticked; });
        for (QDeadlineTimer deadline(5000); ticked < 2 && !deadline.hasExpired();) processEvents(10);
        EXPECT_GE(ticked, 2) << "the status timer does not run";
    }
    void play(int track)
    {
        controls_SelectItem(rows(), track);
        cdPlayer().mnuPlay->trigger();
    }
    void key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, key >= 'A' && key <= 'Z' ? QString(QChar(key)) : QString());
        QApplication::sendEvent(target, &press);
    }
    int boldRow()
    {
        for (int r = 1; r <= rows().count(); ++r)
            if (rows().bold(r)) return r;
        return 0;
    }
};

TEST_F(CdPlayerTest, TwelveTracksAreListedByNumberTitleAndLength)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    EXPECT_TRUE(main().mnuOpenCDPlayer->isChecked());
    EXPECT_TRUE(cd.isVisible());
    EXPECT_EQ(cd.windowTitle(), QStringLiteral("CD Player"));
    ASSERT_EQ(rows().count(), 12);
    const QList<int> lengths = twelveTracks();
    for (int n = 1; n <= 12; ++n) {
        EXPECT_EQ(rows().text(n), QString::asprintf("%02d", n));
        EXPECT_EQ(rows().subItem(n, 1), QStringLiteral("Audio Track ") + QString::number(n));
        EXPECT_EQ(rows().subItem(n, 2), QString::asprintf("%02d:%02d", lengths[n - 1] / 60, lengths[n - 1] % 60));
    }
    EXPECT_EQ(panel(3), QStringLiteral("Length:  41:00"));
    EXPECT_EQ(cd.CDState, 1);
    EXPECT_TRUE(forms().get<FrmConsole>().Text().contains(QLatin1String("CD Player opened at ")));
    ticks();
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));
    EXPECT_EQ(panel(2), QStringLiteral("Tracks:  12"));
    EXPECT_EQ(panel(4), QStringLiteral("Elapsed:  None"));
}

TEST_F(CdPlayerTest, TheEarlierOfTwoDrivesWithADiscIsUsed)
{
    drives({QList<int>{}, {60, 70, 80}, {60, 60, 60, 60, 60}});
    open();
    EXPECT_EQ(rows().count(), 3);
    EXPECT_EQ(rows().subItem(2, 2), QStringLiteral("01:10"));
    EXPECT_TRUE(sent().contains(QStringLiteral("open A:\\ Type cdaudio alias cdr wait shareable")));
    EXPECT_FALSE(sent().contains(QStringLiteral("open C:\\ Type cdaudio alias cdr wait shareable")));
}

TEST_F(CdPlayerTest, WithoutADiscThePlaybackCommandsAreDisabledWithinOneTick)
{
    drives({QList<int>{}});
    FrmCDPlayer& cd = open();
    EXPECT_EQ(rows().count(), 0);
    EXPECT_EQ(panel(3), QStringLiteral("Length:  None"));
    processEvents(60);
    EXPECT_EQ(panel(2), QStringLiteral("Tracks:  None"));
    for (QAction* a : {cd.mnuPrevious, cd.mnuPlay, cd.mnuPause, cd.mnuStop, cd.mnuRandom, cd.mnuNext, cd.mnuEject})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (const char* k : {"Previous", "Play", "Pause", "Stop", "Random", "Next", "Eject"})
        EXPECT_FALSE(cd.toolbarButton(QString::fromLatin1(k))->isEnabled()) << k;
    // P does nothing while Play is disabled.
    key(cd.lstvPlaylist, 'P');
    EXPECT_FALSE(sent().contains(QStringLiteral("play cdr")));

    // A disc put in is found by New, and the commands come back.
    sim->insertDisc(0, {60, 60});
    cd.mnuNew->trigger();
    ticks();
    EXPECT_TRUE(cd.mnuPlay->isEnabled());
    EXPECT_TRUE(cd.toolbarButton(3)->isEnabled());
    EXPECT_EQ(panel(2), QStringLiteral("Tracks:  2"));
}

// Discs with data tracks: only the audio tracks are listed and played, the last of them to its
// own session's end, and a disc without audio is no audio disc.
TEST_F(CdPlayerTest, OnlyAudioTracksAreListedAndPlayed)
{
    const struct {
        const char* disc;
        QStringList lengths;
        const char* total;
    } cases[] = {
        {"data 40:00", {}, "None"},                                // a data CD (or a DVD)
        {"3:00,4:00,data 20:00", {"03:00", "04:00"}, "07:00"},     // an enhanced CD
        {"data 20:00,1:00,2:00", {"01:00", "02:00"}, "03:00"},     // a mixed-mode CD
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.disc);
        describe(QString::fromLatin1(c.disc));
        if (!main().mnuOpenCDPlayer->isChecked()) main().mnuOpenCDPlayer->trigger();
        else cdPlayer().mnuNew->trigger();
        FrmCDPlayer& cd = cdPlayer();
        ticks();
        ASSERT_EQ(rows().count(), c.lengths.size());
        for (int n = 1; n <= rows().count(); ++n) {
            EXPECT_EQ(rows().subItem(n, 1), QStringLiteral("Audio Track ") + QString::number(n));
            EXPECT_EQ(rows().subItem(n, 2), c.lengths[n - 1]);
        }
        EXPECT_EQ(panel(3), QStringLiteral("Length:  ") + QLatin1String(c.total));
        if (c.lengths.isEmpty()) {
            EXPECT_EQ(panel(2), QStringLiteral("Tracks:  None"));
            EXPECT_FALSE(cd.mnuPlay->isEnabled());
            continue;
        }
        // The last audio track plays to its end, and there the disc ends.
        play(int(c.lengths.size()));
        ticks();
        EXPECT_EQ(cd.CDState, 0);
        EXPECT_EQ(panel(1), QStringLiteral("Status:  Playing... Audio Track ") + QString::number(c.lengths.size()));
        clock += (c.lengths.last().left(2).toInt() * 60 + 1) * 1000;
        ticks();
        EXPECT_EQ(cd.CDState, 1);
        EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));
    }
}

// A status tick asks a dozen questions of the device; the drive itself is asked once.
TEST_F(CdPlayerTest, TheDriveIsAskedForItsStatusOncePerTick)
{
    start();
    describe(QStringLiteral("12"));
    main().mnuOpenCDPlayer->trigger();
    FrmCDPlayer& cd = cdPlayer();
    play(2);
    cd.mnuShowTimeRemaining->trigger();   // the remaining time asks length and position again
    QList<int> readsAtTicks;
    QObject watch;
    QObject::connect(cd.tmrWindowUpdate, &QTimer::timeout, &watch, [&] { readsAtTicks.append(sim->statusReads()); });
    for (QDeadlineTimer deadline(5000); readsAtTicks.size() < 4 && !deadline.hasExpired();) processEvents(10);
    ASSERT_GE(readsAtTicks.size(), 4);
    for (qsizetype i = 1; i < readsAtTicks.size(); ++i) EXPECT_EQ(readsAtTicks[i] - readsAtTicks[i - 1], 1) << i;
    EXPECT_EQ(cd.CDState, 0);
    EXPECT_TRUE(panel(4).startsWith(QStringLiteral("Remaining:  ")));
}

TEST_F(CdPlayerTest, PPlaysTheSelectedTrackAndCtrlPDoesNot)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    controls_SelectItem(rows(), 2);
    forget();
    key(cd.lstvPlaylist, 'P', Qt::ControlModifier);
    EXPECT_FALSE(sent().contains(QStringLiteral("play cdr")));
    EXPECT_EQ(cd.CDState, 1);
    key(cd.lstvPlaylist, 'P');
    EXPECT_EQ(cd.CDState, 0);
    EXPECT_EQ(cd.CurrentCDTrack, 2);
    EXPECT_TRUE(sent().contains(QStringLiteral("seek cdr to 2")));
    EXPECT_EQ(sent().last(), QStringLiteral("play cdr"));
    EXPECT_EQ(boldRow(), 2);
    EXPECT_EQ(rows().foreColour(2), 0xC0u);
    EXPECT_TRUE(forms().get<FrmConsole>().Text().contains(QLatin1String("Audio CD Played at ")));
    // S stops; Shift+S too (only Ctrl alone leaves the keys alone).
    key(cd.lstvPlaylist, 'S', Qt::ShiftModifier);
    EXPECT_EQ(cd.CDState, 1);
    EXPECT_EQ(boldRow(), 0);
    EXPECT_EQ(rows().foreColour(2), ListViewModel::NoColour);
}

TEST_F(CdPlayerTest, ADiscMovingOnToTheNextTrackIsFollowed)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    play(4);
    ticks();
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Playing... Audio Track 4"));
    clock += 30'000;
    ticks();
    EXPECT_EQ(panel(4), QStringLiteral("Elapsed:  00:30"));
    EXPECT_EQ(cd.sldPosition->maximum(), twelveTracks()[3]);
    EXPECT_EQ(cd.sldPosition->value(), 30);

    clock += (twelveTracks()[3] - 30 + 2) * 1000;   // 2 s into track 5
    ticks();
    EXPECT_EQ(cd.CurrentCDTrack, 5);
    EXPECT_EQ(boldRow(), 5);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Playing... Audio Track 5"));
    EXPECT_EQ(panel(4), QStringLiteral("Elapsed:  00:02"));

    // Remaining time, then the end of the disc stops the player.
    cd.mnuShowTimeRemaining->trigger();
    ticks();
    EXPECT_EQ(panel(4), QString::asprintf("Remaining:  %02d:%02d", (twelveTracks()[4] - 2) / 60, (twelveTracks()[4] - 2) % 60));
    play(12);
    clock += (twelveTracks()[11] + 1) * 1000;
    ticks();
    EXPECT_EQ(cd.CDState, 1);
    EXPECT_EQ(cd.CurrentCDTrack, 0);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));
    EXPECT_EQ(panel(4), QStringLiteral("Remaining:  None"));
}

TEST_F(CdPlayerTest, DraggingTheSliderSeeksInThePlayingTrack)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    play(3);
    controls_SelectItem(rows(), 7);   // the selected row is not the one sought in
    ticks();
    forget();
    QSlider* slider = cd.sldPosition;
    const QPoint at(slider->width() / 2, slider->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, slider->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &press);
    EXPECT_EQ(sent().value(0), QStringLiteral("stop cdr wait"));
    slider->setValue(125);
    QMouseEvent release(QEvent::MouseButtonRelease, at, slider->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &release);
    processEvents(10);
    const QStringList s = sent();
    const qsizetype seekTrack = s.indexOf(QStringLiteral("seek cdr to 3"));
    const qsizetype seekTime = s.indexOf(QStringLiteral("seek cdr to 03:02:05:00"));
    const qsizetype playing = s.lastIndexOf(QStringLiteral("play cdr"));
    ASSERT_GE(seekTrack, 0) << s.join(u'|').toStdString();
    EXPECT_LT(seekTrack, seekTime);
    EXPECT_LT(seekTime, playing);
    EXPECT_EQ(cd.CDState, 0);
    ticks();
    EXPECT_EQ(panel(4), QStringLiteral("Elapsed:  02:05"));

    // Paused, a seek plays again and leaves the pause behind; stopped without a selection, nothing.
    cd.mnuPause->trigger();
    cd.sldPosition_MouseDown();
    slider->setValue(10);
    cd.sldPosition_MouseUp();
    EXPECT_EQ(cd.CDState, 0);
    EXPECT_FALSE(cd.CDPaused);
    cd.mnuStop->trigger();
    rows().clearSelection();
    forget();
    cd.sldPosition_MouseDown();
    slider->setValue(10);
    cd.sldPosition_MouseUp();
    EXPECT_FALSE(sent().contains(QStringLiteral("play cdr")));
    EXPECT_EQ(slider->value(), 0);
}

TEST_F(CdPlayerTest, PausePlayPausePausesAndPauseResumes)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    play(1);
    cd.mnuPause->trigger();
    EXPECT_EQ(cd.CDState, 2);
    EXPECT_TRUE(cd.CDPaused);
    ticks();
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Paused... Audio Track 1"));
    cd.mnuPlay->trigger();
    EXPECT_EQ(cd.CDState, 0);
    EXPECT_FALSE(cd.CDPaused);
    forget();
    cd.mnuPause->trigger();
    EXPECT_EQ(cd.CDState, 2);
    EXPECT_EQ(sent(), QStringList{"stop cdr wait"});
    cd.mnuPause->trigger();
    EXPECT_EQ(cd.CDState, 0);
    EXPECT_EQ(sent().last(), QStringLiteral("play cdr"));

    // Paused, a double-click stops first and then plays the row.
    cd.mnuPause->trigger();
    controls_SelectItem(rows(), 6);
    cd.lstvPlaylist_DblClick();
    EXPECT_EQ(cd.CurrentCDTrack, 6);
    EXPECT_EQ(cd.CDState, 0);
    EXPECT_FALSE(cd.CDPaused);

    // Next and Previous step from the playing track; Next after Stop plays track 1.
    cd.mnuNext->trigger();
    EXPECT_EQ(cd.CurrentCDTrack, 7);
    cd.mnuPrevious->trigger();
    cd.mnuPrevious->trigger();
    EXPECT_EQ(cd.CurrentCDTrack, 5);
    cd.mnuStop->trigger();
    cd.mnuNext->trigger();
    EXPECT_EQ(cd.CurrentCDTrack, 1);
    cd.mnuRandom->trigger();
    EXPECT_GE(cd.CurrentCDTrack, 1);
    EXPECT_EQ(boldRow(), cd.CurrentCDTrack);
    EXPECT_EQ(rows().selectedItem(), cd.CurrentCDTrack);
}

TEST_F(CdPlayerTest, EjectStopsOpensTheDoorAndEmptiesTheList)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    play(2);
    cd.mnuEject->trigger();
    EXPECT_EQ(cd.CDState, 1);
    EXPECT_TRUE(sim->doorOpen(0));
    EXPECT_EQ(rows().count(), 0);
    EXPECT_EQ(panel(3), QStringLiteral("Length:  None"));
    const QStringList s = sent();
    EXPECT_LT(s.lastIndexOf(QStringLiteral("stop cdr wait")), s.lastIndexOf(QStringLiteral("set cdr door open")));
}

TEST_F(CdPlayerTest, ADiscTakenOutWhilePausedStopsThePlayer)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    play(2);
    cd.mnuPause->trigger();
    sim->removeDisc(0);
    ticks();
    EXPECT_EQ(cd.CDState, 1);
    EXPECT_FALSE(cd.CDPaused);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));
}

TEST_F(CdPlayerTest, ClosingStopsAPlayingDiscButLeavesAPausedOnePaused)
{
    drives({twelveTracks()});
    open();
    play(3);
    clock += 5'000;
    cdPlayer().mnuPause->trigger();
    forget();
    main().mnuOpenCDPlayer->trigger();
    EXPECT_FALSE(main().mnuOpenCDPlayer->isChecked());
    EXPECT_FALSE(forms().isLoaded<FrmCDPlayer>());
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(CDDeviceOpen);
    EXPECT_EQ(cdaudio_GetPosition(), 5);

    open();
    play(3);
    forget();
    cdPlayer().mnuClose->trigger();
    EXPECT_FALSE(main().mnuOpenCDPlayer->isChecked());
    EXPECT_EQ(sent(), QStringList{"stop cdr wait"});
    processEvents(10);
}

TEST_F(CdPlayerTest, SettingsColumnWidthsAndPositionComeBack)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    for (QAction* a : {cd.mnuAlwaysOnTop, cd.mnuShowTimeRemaining, cd.mnuShowStatusBar, cd.mnuShowPlaylistHeaders, cd.mnuShowToolbar})
        a->trigger();
    EXPECT_FALSE(cd.cbControls->isVisible());   // the slider goes with the toolbar
    cd.lstvPlaylist->setColumnWidthTwips(0, 1200);
    cd.lstvPlaylist->setColumnWidthTwips(2, 1500);
    cd.setGeometry(140, 120, 500, 330);
    processEvents(10);
    const QRect where = cd.geometry();
    main().mnuOpenCDPlayer->trigger();
    processEvents(10);

    const QString S = QStringLiteral("CDSettings");
    struct Key {
        const char* key;
        const char* value;
    };
    for (const Key& k : {Key{"AlwaysOnTop", "1"}, {"ShowTimeElapsed", "0"}, {"ShowTimeRemaining", "1"}, {"ShowToolbar", "0"},
                         {"ShowStatusBar", "0"}, {"ShowPlaylistHeaders", "1"}})
        EXPECT_EQ(settings_ReadValue(S, QString::fromLatin1(k.key)), QString::fromLatin1(k.value)) << k.key;
    EXPECT_EQ(settings_ReadValue(QStringLiteral("ColumnHeaders_CDPlayer"), QStringLiteral("Number")), QStringLiteral("1200"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("ColumnHeaders_CDPlayer"), QStringLiteral("Length")), QStringLiteral("1500"));

    main().mnuOpenCDPlayer->trigger();
    FrmCDPlayer& again = cdPlayer();
    EXPECT_TRUE(again.mnuAlwaysOnTop->isChecked());
    EXPECT_TRUE(again.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(again.mnuShowTimeElapsed->isChecked());
    EXPECT_TRUE(again.mnuShowTimeRemaining->isChecked());
    EXPECT_FALSE(again.mnuShowToolbar->isChecked());
    EXPECT_FALSE(again.cbToolbar->isVisible());
    EXPECT_EQ(again.lstvPlaylist->y(), 0);
    EXPECT_FALSE(again.sbStatusBar->isVisible());
    EXPECT_FALSE(again.lstvPlaylist->hideColumnHeaders());
    EXPECT_EQ(again.lstvPlaylist->columnWidthTwips(0), 1200);
    EXPECT_EQ(again.lstvPlaylist->columnWidthTwips(2), 1500);
    EXPECT_EQ(again.geometry(), where);

    // Shown again, the toolbar puts the list below both bands.
    again.mnuShowToolbar->trigger();
    ticks();
    EXPECT_EQ(again.lstvPlaylist->y(), again.cbToolbar->height() + again.cbControls->height());
}

TEST_F(CdPlayerTest, MenuHelpShowsWhileAnItemIsHighlighted)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    ticks();
    cd.mnuHelp->popup(cd.mapToGlobal(QPoint(0, 0)));
    cd.mnuHelp->setActiveAction(cd.mnuAbout);
    processEvents(60);
    EXPECT_TRUE(cd.MenuHelpShown);
    EXPECT_EQ(panel(1), QStringLiteral("Show information about this version of VELTRA."));
    cd.mnuPlayback->hide();
    cd.window_MenuHelp(cd.mnuPlayback, cd.mnuEject);
    EXPECT_EQ(panel(1), QStringLiteral("Eject the Audio CD in the drive being used."));
    cd.mnuHelp->hide();
    ticks();
    EXPECT_FALSE(cd.MenuHelpShown);
    EXPECT_EQ(panel(1), QStringLiteral("Status:  Stopped"));

    // The web pages open through the services; the Help items open their windows.
    cd.mnuForum->trigger();
    cd.mnuHomepage->trigger();
    EXPECT_EQ(ui.openedUrls.size(), 2);
    const int modals = ui.count(QStringLiteral("modal"));
    cd.mnuCheckForUpdates->trigger();
    EXPECT_EQ(ui.count(QStringLiteral("modal")), modals + 1);
    EXPECT_EQ(ui.calls.last().title, QStringLiteral("FrmCheckForUpdates"));
    cd.mnuPreferences->trigger();
    EXPECT_EQ(ui.calls.last().title, QStringLiteral("FrmPreferences"));
    EXPECT_FALSE(forms().isLoaded<FrmPreferences>());   // unloaded when closed
    cd.mnuConsole->trigger();
    EXPECT_EQ(ui.count(QStringLiteral("modal")), modals + 3);
}

TEST_F(CdPlayerTest, TheTrayHidesItAndOpenBringsBackAPlayingPlayer)
{
    drives({twelveTracks()});
    FrmCDPlayer& cd = open();
    play(1);
    main().window_MinimizeToTray();
    EXPECT_FALSE(cd.isVisible());
    EXPECT_TRUE(cd.isMinimized());
    forms().get<FrmMenus>().mnuOpen->trigger();
    EXPECT_TRUE(cd.isVisible());
    EXPECT_FALSE(cd.isMinimized());

    // Closing everything saves its place and unloads it.
    main().window_CloseAll();
    EXPECT_FALSE(forms().isLoaded<FrmCDPlayer>());
    EXPECT_FALSE(main().mnuOpenCDPlayer->isChecked());
    EXPECT_FALSE(settings_ReadValue(QStringLiteral("Position_CDPlayer"), QStringLiteral("Window_Width")).isEmpty());
    EXPECT_EQ(sent().last(), QStringLiteral("stop cdr wait"));
}

TEST_F(CdPlayerTest, TheCdSwitchOpensThePlayerAtStart)
{
    drives({{60, 60}});
    start({QStringLiteral("/cd")});
    EXPECT_TRUE(main().mnuOpenCDPlayer->isChecked());
    ASSERT_TRUE(forms().isLoaded<FrmCDPlayer>());
    EXPECT_EQ(rows().count(), 2);
}
