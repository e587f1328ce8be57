// The video window (full screen and normal view, layout, saved size, hiding, the close box)
// and the now-playing popup.
#include "PlaybackFixture.h"

#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "controls/ctlQX_wScrollbar.h"
#include "controls/ctlQX_wTextPanel.h"
#include "mainwindow/FrmMenus.h"
#include "player/FrmPlaying.h"
#include "player/FrmVideo.h"

#include <QApplication>
#include <QTest>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

using vb::TwipsToPixels;

namespace {
QList<QWidget*> sliderRow(const FrmVideo& v)
{
    return {v.lblVolume, v.lblBalance, v.lblPosition, v.qxsVolume, v.qxsBalance, v.qxsPosition};
}
} // namespace

TEST_F(PlaybackTest, VideoWindowInFullScreenShowsTheSliderRowAndNormalHidesIt)
{
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("StartVideoinFullModeWhenPlayingVideo"), QStringLiteral("1"));
    FrmVideo& video = forms().get<FrmVideo>();
    QAction* volumeItem = forms().get<FrmMenus>().mnuVolume;
    video.video_Open();
    EXPECT_TRUE(video.VideoIsOpen);
    EXPECT_TRUE(video.isMaximized());
    EXPECT_TRUE(video.tmrWindowUpdate->isActive());
    EXPECT_FALSE(windows_ScreenSaverEnabled());
    video.tmrWindowUpdate_Timer();
    for (QWidget* w : sliderRow(video)) EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_FALSE(volumeItem->isEnabled());

    video.qxbNormal_Click();
    processEvents(150);   // the window's own timer catches up
    EXPECT_FALSE(video.isMaximized());
    for (QWidget* w : sliderRow(video)) EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_TRUE(volumeItem->isEnabled());

    video.video_Close();
    EXPECT_FALSE(video.VideoIsOpen);
    EXPECT_FALSE(video.tmrWindowUpdate->isActive());
    EXPECT_TRUE(windows_ScreenSaverEnabled());
}

TEST_F(PlaybackTest, HidingTheVideoKeepsItPlaying)
{
    const QString avi = writeFile(QStringLiteral("Music/clip.avi"), "RIFF");
    main->playlist_AddSong(QStringLiteral("V"), QStringLiteral("V"), QString(), avi);
    playRow(1);
    FrmVideo& video = forms().get<FrmVideo>();
    ASSERT_TRUE(video.VideoIsOpen);
    EXPECT_FALSE(windows_ScreenSaverEnabled());
    video.qxbHideScreen_Click();
    EXPECT_FALSE(video.VideoIsOpen);
    EXPECT_FALSE(video.isVisible());
    EXPECT_TRUE(windows_ScreenSaverEnabled());
    EXPECT_TRUE(playing());
    EXPECT_EQ(player->FileName(), avi);
}

TEST_F(PlaybackTest, VideoWindowSizeIsSavedOnlyInTheNormalState)
{
    FrmVideo& video = forms().get<FrmVideo>();
    settings_WriteValue(QStringLiteral("Video"), QStringLiteral("Height"), QStringLiteral("4500"));
    settings_WriteValue(QStringLiteral("Video"), QStringLiteral("Width"), QStringLiteral("7500"));
    video.video_GetSize();
    EXPECT_EQ(video.height(), TwipsToPixels(4500));
    EXPECT_EQ(video.width(), TwipsToPixels(7500));

    video.resize(TwipsToPixels(9000), TwipsToPixels(6000));
    video.video_SaveSize();
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Video"), QStringLiteral("Width"), QString()), QStringLiteral("9000"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Video"), QStringLiteral("Height"), QString()), QStringLiteral("6000"));

    video.qxbFullScreen_Click();
    video.show();
    processEvents(20);
    ASSERT_TRUE(video.isMaximized());
    EXPECT_NE(video.width(), TwipsToPixels(9000));
    video.video_SaveSize();
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Video"), QStringLiteral("Width"), QString()), QStringLiteral("9000"));
    video.showMinimized();
    processEvents(20);
    video.video_SaveSize();
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Video"), QStringLiteral("Height"), QString()), QStringLiteral("6000"));
}

TEST_F(PlaybackTest, VideoLayoutPutsTheButtonsSideBySideAtTheRightEdge)
{
    FrmVideo& video = forms().get<FrmVideo>();
    video.resize(TwipsToPixels(9000), TwipsToPixels(6000));
    video.Form_Resize();
    const int W = video.width();
    EXPECT_NEAR(video.qxbNormal->x() + video.qxbNormal->width(), W - TwipsToPixels(60), 1);
    EXPECT_EQ(video.qxbFullScreen->x() + video.qxbFullScreen->width(), video.qxbNormal->x());
    EXPECT_EQ(video.qxbHideScreen->x() + video.qxbHideScreen->width(), video.qxbFullScreen->x());
    EXPECT_EQ(video.qxbStopVideo->x() + video.qxbStopVideo->width(), video.qxbHideScreen->x());
    EXPECT_EQ(video.qxbPause->x() + video.qxbPause->width(), video.qxbStopVideo->x());
    EXPECT_NEAR(video.wmpPicture->width(), W - 2 * video.wmpPicture->x(), 1);
    EXPECT_NEAR(video.wmpPicture->y() + video.wmpPicture->height(),
                video.height() - video.nfpBottom->height() - TwipsToPixels(120), 2);
    const int positionWidth = video.qxsPosition->width();
    EXPECT_GT(positionWidth, 0);

    // Too narrow for the position slider: its width would be negative and stays as it was.
    video.resize(TwipsToPixels(3000), TwipsToPixels(6000));
    video.Form_Resize();
    EXPECT_EQ(video.qxsPosition->width(), positionWidth);
}

TEST_F(PlaybackTest, VideoWindowIgnoresItsCloseBox)
{
    FrmVideo& video = forms().get<FrmVideo>();
    EXPECT_TRUE(video.Form_QueryUnload(true));    // cancelled
    EXPECT_FALSE(video.Form_QueryUnload(false));  // the program's own unload goes ahead
}

TEST_F(PlaybackTest, NowPlayingPopupOnlyWhileAnotherProgramIsActive)
{
    addSongs(2);
    main->mnuWindowsShowEachSongAsItsPlayed->setChecked(true);
    // The program active: its window has the focus as the song starts.
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    playRow(1);
    EXPECT_FALSE(forms().isLoaded<FrmPlaying>());

    main->hide();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeWindow() == nullptr; }));
    main->mnuWindowsShowEachSongAsItsPlayed->setChecked(false);
    playRow(1);
    EXPECT_FALSE(forms().isLoaded<FrmPlaying>());

    main->mnuWindowsShowEachSongAsItsPlayed->setChecked(true);
    endSong();   // the next track starts while the user works elsewhere
    ASSERT_TRUE(forms().isLoaded<FrmPlaying>());
    FrmPlaying& popup = forms().get<FrmPlaying>();
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.lblText->text(), QStringLiteral("A2 - T2"));
    EXPECT_TRUE(popup.tmrTimer->isActive());
    EXPECT_TRUE(popup.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(popup.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(popup.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_NE(QApplication::activeWindow(), &popup);

    // A click on it brings the player back and removes it.
    main->hide();
    popup.Form_Click();
    EXPECT_FALSE(forms().isLoaded<FrmPlaying>());
    EXPECT_TRUE(main->isVisible());
}

TEST_F(PlaybackTest, NowPlayingPopupWidthRuleAndCentre)
{
    main->playlist_AddSong(QStringLiteral("An Artist With A Rather Long Name Indeed"),
                           QStringLiteral("And A Title That Goes On And On And On"), QString(), song(QStringLiteral("long.mp3")));
    main->playlist_AddSong(QStringLiteral("B"), QStringLiteral("C"), QString(), song(QStringLiteral("short.mp3")));
    main->mnuWindowsShowEachSongAsItsPlayed->setChecked(true);
    main->AppIsActive = false;
    playRow(1);
    FrmPlaying& popup = forms().get<FrmPlaying>();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    auto checkGeometry = [&] {
        EXPECT_EQ(popup.width(), popup.lblText->width() + TwipsToPixels(480));
        EXPECT_NEAR(popup.x() + popup.width() / 2, screen.width() / 2, 1);
        EXPECT_NEAR(popup.y() + popup.height() / 2, screen.height() / 2, 1);
        EXPECT_NEAR(popup.lblText->x() + popup.lblText->width() / 2, popup.width() / 2, 1);
    };
    checkGeometry();
    const int longWidth = popup.width();

    popup.tmrTimer_Timer();
    popup.tmrTimer_Timer();
    EXPECT_EQ(popup.TickCount, 2);
    playRow(2);   // shown again: shorter, centred, three more seconds
    EXPECT_EQ(&forms().get<FrmPlaying>(), &popup);
    EXPECT_EQ(popup.TickCount, 0);
    EXPECT_EQ(popup.lblText->text(), QStringLiteral("B - C"));
    EXPECT_LT(popup.width(), longWidth);
    checkGeometry();
}

TEST_F(PlaybackTest, NowPlayingPopupExpiresAfterThreeTicksOrOnStop)
{
    addSongs(2);
    main->mnuWindowsShowEachSongAsItsPlayed->setChecked(true);
    main->AppIsActive = false;
    playRow(1);
    ASSERT_TRUE(forms().isLoaded<FrmPlaying>());
    for (int i = 0; i < 3; ++i) forms().get<FrmPlaying>().tmrTimer_Timer();
    EXPECT_FALSE(forms().isLoaded<FrmPlaying>());

    playRow(2);
    ASSERT_TRUE(forms().isLoaded<FrmPlaying>());
    main->mnuStop_Click();
    EXPECT_FALSE(forms().isLoaded<FrmPlaying>());

    // With the option turned off meanwhile, stopping leaves it to its timer.
    main->AppIsActive = false;
    playRow(1);
    ASSERT_TRUE(forms().isLoaded<FrmPlaying>());
    main->mnuWindowsShowEachSongAsItsPlayed->setChecked(false);
    main->mnuStop_Click();
    EXPECT_TRUE(forms().isLoaded<FrmPlaying>());
}
