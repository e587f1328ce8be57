// The commands of the player's companion windows: the per-song volumes, the play counts and
// the lyrics.
#include "player/FrmMain.h"

#include "common/modSettings.h"
#include "common/modWindows.h"
#include "extras/FrmTracking.h"
#include "library/FrmLyrics.h"
#include "platform/MediaPlayerControl.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"

#include <QAction>

void FrmMain::mnuVolumes_Click() { windows_ShowModal(forms().get<FrmAdjustVolumes>(), this, false); }

void FrmMain::mnuTracking_Click() { windows_ShowModal(forms().get<FrmTracking>(), this, false); }

void FrmMain::mnuWindowsShowLyricsWhenAvailable_Click()
{
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    if (mnuWindowsShowLyricsWhenAvailable->isChecked()) {
        mnuWindowsShowLyricsWhenAvailable->setChecked(false);
        settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("ShowLyricsWhenAvailable"), QStringLiteral("0"));
        lyrics.lyrics_Close();
    } else {
        mnuWindowsShowLyricsWhenAvailable->setChecked(true);
        settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("ShowLyricsWhenAvailable"), QStringLiteral("1"));
        if (wmpPlayer().PlayState() != veltra::MediaPlayerControl::State::Paused) lyrics.lyrics_OpenFile(wmpPlayer().FileName());
    }
}
