// The main window's timers: the player's state mirrored into the window.
#include "player/FrmMain.h"

#include "common/ListView.h"
#include "platform/MediaPlayerControl.h"
#include "startup/Forms.h"

#include <QApplication>
#include <QSlider>

void FrmMain::tmrPosition_Timer()
{
    veltra::MediaPlayerControl& player = wmpPlayer();
    switch (player.PlayState()) {
    case veltra::MediaPlayerControl::Playing: PlayerState = 0; break;
    case veltra::MediaPlayerControl::Paused: PlayerState = 2; break;
    default: PlayerState = 1; break;
    }
    if (PlayerState == 0) {
        sldPosition->setMaximum(int(player.Duration() + 0.5));
        sldPosition->setValue(int(player.CurrentPosition()));
        sldPosition->setEnabled(true);
    } else {
        sldPosition->setEnabled(false);
    }
}

void FrmMain::tmrWindowUpdate_Timer() { AppIsActive = QApplication::activeWindow() != nullptr; }
