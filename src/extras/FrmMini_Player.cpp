// The mini-mode window and the player: the position timer that mirrors it, the status line
// scroller, the twelve buttons and the three sliders.
#include "extras/FrmMini.h"

#include "common/ListViewModel.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "controls/ctlQX_Digital.h"
#include "controls/ctlQX_wScrollbar.h"
#include "extras/FrmCDPlayer.h"
#include "library/FrmMediaLibrary.h"
#include "media/modMedia.h"
#include "platform/MediaPlayerControl.h"
#include "platform/WindowPlace.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <cmath>

using veltra::MediaPlayerControl;
using vb::PixelsToTwips;

namespace {
// Seconds to the nearest whole one, a half to the even neighbour.
qint32 wholeSeconds(double seconds)
{
    if (!std::isfinite(seconds)) return 0;
    return qint32(std::clamp(vb::Round(seconds), -2147483648.0, 2147483647.0));
}

qint16 digits(double seconds) { return qint16(std::clamp<qint32>(wholeSeconds(seconds), -32768, 32767)); }
} // namespace

void FrmMini::setPlayingLeft(double twips)
{
    m_playingLeft = twips;
    lblPlaying->move(vb::TwipsToPixels(twips), lblPlaying->y());
}

void FrmMini::setPosition(int value, int max)
{
    if (value > qxsPosition->Max()) {
        qxsPosition->setMax(max);
        qxsPosition->setValue(value);
    } else {
        qxsPosition->setValue(value);
        qxsPosition->setMax(max);
    }
}

// ---- mirroring the player -------------------------------------------------------------------------------

void FrmMini::tmrPosition_Timer()
{
    FrmMain& main = forms().get<FrmMain>();
    const MediaPlayerControl& player = main.wmpPlayer();
    const MediaPlayerControl::State state = player.PlayState();
    const bool playing = state == MediaPlayerControl::State::Playing;
    const bool paused = !playing && state == MediaPlayerControl::State::Paused;

    if (playing || paused) {
        if (playing) {
            setPosition(wholeSeconds(player.CurrentPosition()), wholeSeconds(player.Duration()));
        } else if (qxsPosition->Enabled()) {
            // The slider freezes where the song was paused.
            setPosition(wholeSeconds(player.CurrentPosition()), wholeSeconds(player.Duration()));
            qxsPosition->setEnabled(false);
        }
        if (!tmrPlaying->isActive()) tmrPlaying->start();
        if (!qxdNumber->Enabled()) qxdNumber->setEnabled(true);
        qxsPosition->setBarVisible(true);
        main.PlayerState = playing ? FrmMain::Playback::Playing : FrmMain::Playback::Paused;
        if (playing && !qxsPosition->Enabled()) qxsPosition->setEnabled(true);
        if (main.mnuStatusBarShowTimeElapsed->isChecked())
            qxdNumber->setValue(digits(player.CurrentPosition()));
        else if (main.mnuStatusBarShowTimeRemaining->isChecked())
            qxdNumber->setValue(digits(player.Duration() - player.CurrentPosition()));
        const QString word = playing ? QStringLiteral("Playing... ") : QStringLiteral("Paused... ");
        lblPlaying->setText(word + main.rows().text(main.CurrentTrack) + QStringLiteral(".  ") + main.NowPlayingInfo[0]
                            + QStringLiteral(" - ") + main.NowPlayingInfo[1] + QStringLiteral(" (")
                            + media_FormatTime(wholeSeconds(player.Duration())) + u')');
    } else {
        if (qxsPosition->Enabled()) {
            setPosition(0, 100);
            qxsPosition->setEnabled(false);
        }
        if (tmrPlaying->isActive()) {
            tmrPlaying->stop();
            setPlayingLeft(50);
        }
        if (qxdNumber->Enabled()) qxdNumber->setEnabled(false);
        main.PlayerState = FrmMain::Playback::Stopped;
        lblPlaying->setText(QStringLiteral("Stopped"));
        qxdNumber->setValue(0);
    }
    lblPlaying->adjustSize();
}

void FrmMini::tmrPlaying_Timer()
{
    const double width = PixelsToTwips(lblPlaying->width());
    const double window = PixelsToTwips(picPlaying->width());
    if (width < window) {
        setPlayingLeft(50);
        return;
    }
    double left = m_playingLeft - 30;
    // Gone out on the left: in again from just beyond the right edge.
    if (left <= -(width + 30)) left = window + 30;
    setPlayingLeft(left);
}

// ---- buttons and sliders -----------------------------------------------------------------------------------

void FrmMini::qxbButton_Click(int index)
{
    if (index < 0 || index > 11) return;
    FrmMain& main = forms().get<FrmMain>();
    struct Command {
        QAction* FrmMain::*gate;
        void (FrmMain::*run)();
        bool restartsLine;
    };
    static const Command commands[9] = {
        {&FrmMain::mnuPrevious, &FrmMain::mnuPrevious_Click, true},
        {&FrmMain::mnuRewind, &FrmMain::mnuRewind_Click, false},
        {&FrmMain::mnuPlay, &FrmMain::mnuPlay_Click, true},
        {&FrmMain::mnuPause, &FrmMain::mnuPause_Click, false},
        {&FrmMain::mnuStop, &FrmMain::mnuStop_Click, false},
        {&FrmMain::mnuFastForward, &FrmMain::mnuFastForward_Click, false},
        {&FrmMain::mnuRandom, &FrmMain::mnuRandom_Click, true},
        {&FrmMain::mnuNextTrack, &FrmMain::mnuNextTrack_Click, true},
        {&FrmMain::mnuNextTrackAdvanced, &FrmMain::mnuNextTrackAdvanced_Click, true},
    };
    if (index <= 8) {
        const Command& c = commands[index];
        // The main window keeps its items enabled by the player's state.
        if (!(main.*c.gate)->isEnabled()) return;
        (main.*c.run)();
        if (c.restartsLine) setPlayingLeft(50);
        return;
    }
    if (index == 9 || index == 10) {
        // The window's item carries its mark while it is open.
        (index == 9 ? main.mnuOpenMediaLibrary : main.mnuOpenCDPlayer)->setChecked(true);
        QWidget& window = index == 9 ? static_cast<QWidget&>(forms().get<FrmMediaLibrary>()) : forms().get<FrmCDPlayer>();
        window.show();
        window.raise();
        window.activateWindow();
        return;
    }
    // Back to full mode; the place is kept for the next time.
    m_returningToFullMode = true;
    settings_WriteValue(QStringLiteral("Position_MiniMode"), QStringLiteral("Window_Top"), PixelsToTwips(y()));
    settings_WriteValue(QStringLiteral("Position_MiniMode"), QStringLiteral("Window_left"), PixelsToTwips(x()));
    main.mnuSwitchToMiniMode->setChecked(false);
    // Gone before the main window comes back: a window manager numbers the titles of two
    // shown windows of one caption, and the main window would keep its number.
    hide();
    windowplace::bringBack(&main, main.WasMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    forms().unloadLater<FrmMini>();
}

void FrmMini::qxsVolume_Change()
{
    FrmMain& main = forms().get<FrmMain>();
    main.sldVolume->setValue(qxsVolume->value());
    main.player_Volume(main.sldVolume->value());
}

void FrmMini::qxsBalance_Change()
{
    FrmMain& main = forms().get<FrmMain>();
    main.sldBalance->setValue(qxsBalance->value());
    main.player_Balance(main.sldBalance->value());
}

void FrmMini::qxsPosition_Change() { forms().get<FrmMain>().wmpPlayer().setCurrentPosition(qxsPosition->value()); }
