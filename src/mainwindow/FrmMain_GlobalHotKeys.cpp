// Global hot keys: the keyboard is polled every 250 ms and a pressed combination runs the
// action bound to it.
#include "mainwindow/FrmMain.h"

#include "common/modSettings.h"
#include "controls/ctlQX_wScrollbar.h"
#include "extras/FrmMini.h"
#include "platform/KeyStateSource.h"
#include "platform/MediaPlayerControl.h"
#include "player/modGlobalKeys.h"
#include "startup/Forms.h"
#include "startup/modGlobalKeySettings.h"

#include <QAction>
#include <QSlider>
#include <QTimer>

void FrmMain::tmrMediaKeys_Timer() { player_CaptureHotkeys(true); }

void FrmMain::player_CaptureHotkeys(bool enabled)
{
    // A command that opens a box runs a nested event loop; the next ticks wait for it.
    if (m_capturingKeys) return;
    if (!m_keys) m_keys = keystate::create();
    m_capturingKeys = true;
    globalkeys_Poll(*m_keys, enabled, [this](const QString& combination) { window_UseGlobalKey(combination); });
    m_capturingKeys = false;
}

void FrmMain::window_CheckGlobalKey(int key, int ctrl, int shift, int alt, int win, const QString& name)
{
    const QString combination = globalkeys_Combination(key, ctrl, shift, alt, win, name);
    if (!combination.isEmpty()) window_UseGlobalKey(combination);
}

void FrmMain::window_UseGlobalKey(const QString& combination)
{
    auto stepVolume = [this](int delta) {
        sldVolume->setValue(std::clamp(sldVolume->value() + delta, sldVolume->minimum(), sldVolume->maximum()));
        player_Volume(sldVolume->value());
        if (mnuSwitchToMiniMode->isChecked()) forms().get<FrmMini>().qxsVolume->setValue(sldVolume->value());
    };
    switch (globalkeys_Match(globalkeys_LabelCaptions(), combination)) {
    case GlobalKey_PlayPause: {
        const auto state = wmpPlayer().PlayState();
        if (state == veltra::MediaPlayerControl::State::Paused) mnuPause_Click();
        else if (state == veltra::MediaPlayerControl::State::Stopped || PlayerStateNow() == Playback::Stopped) player_Play(1);
        else mnuPause_Click();
        break;
    }
    case GlobalKey_Stop: player_Stop(); break;
    case GlobalKey_Next: player_NextTrack(); break;
    case GlobalKey_Previous: mnuPrevious_Click(); break;
    case GlobalKey_Mute: mnuMute_Click(); break;
    case GlobalKey_VolumeUp: stepVolume(1); break;
    case GlobalKey_VolumeDown: stepVolume(-1); break;
    default: break;
    }
}

void FrmMain::mnuWindowsDisableGlobalHotkeys_Click()
{
    const bool disable = !mnuWindowsDisableGlobalHotkeys->isChecked();
    mnuWindowsDisableGlobalHotkeys->setChecked(disable);
    settings_WriteFlag(QStringLiteral("Settings"), QStringLiteral("DisableGlobalHotkeys"), disable);
    if (disable) tmrMediaKeys->stop();
    else tmrMediaKeys->start();
}
