// The view and behaviour switches of the Window and Arrange menus, the playlist's font size
// and re-centring the window. A switch's check mark is its state; every click writes the new
// state under [Settings] at once, so other windows may read the key.
#include "mainwindow/FrmMain.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "library/FrmLyrics.h"
#include "platform/MediaPlayerControl.h"
#include "platform/UiServices.h"
#include "startup/Forms.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>

using namespace veltra;

namespace {

const QString kSettings = QStringLiteral("Settings");

bool toggle(QAction* item, const char* key) { return controls_ToggleMenu(item, kSettings, QString::fromLatin1(key)); }

// One item of an exclusive pair: `chosen` takes the mark from its partner, and both keys are
// written, the first item's first, also when `chosen` had the mark already.
struct Pair {
    QAction* first;
    const char* firstKey;
    QAction* second;
    const char* secondKey;

    void choose(QAction* chosen) const
    {
        first->setChecked(chosen == first);
        second->setChecked(chosen == second);
        settings_WriteFlag(kSettings, QString::fromLatin1(firstKey), chosen == first);
        settings_WriteFlag(kSettings, QString::fromLatin1(secondKey), chosen == second);
    }
};

// The pairs, each with its keys in the order they are written.
Pair timePair(FrmMain& m)
{
    return {m.mnuStatusBarShowTimeElapsed, "ShowTimeElapsed", m.mnuStatusBarShowTimeRemaining, "ShowTimeRemaining"};
}
Pair keysPair(FrmMain& m)
{
    return {m.mnuKeysUseAsArtistFindingKeys, "KeysUseAsArtistFindingKeys", m.mnuKeysUseAsShortcuts, "KeysUseAsShortcuts"};
}
Pair tagsPair(FrmMain& m)
{
    return {m.mnuTagsShowTagsAsFilesAreAdded, "TagsShowTagsAsFilesAreAdded", m.mnuTagsShowTagsAsFilesArePlayed,
            "TagsShowTagsAsFilesArePlayed"};
}

void setPointSize(QWidget* widget, double points)
{
    QFont font = widget->font();
    font.setPointSizeF(points);
    widget->setFont(font);
}

} // namespace

void FrmMain::mnuAlwaysOnTop_Click() { windows_SetAlwaysOnTop(this, toggle(mnuAlwaysOnTop, "AlwaysOnTop")); }

void FrmMain::mnuHideInTheTaskManager_Click()
{
    windows_SetTaskbarVisible(this, !toggle(mnuHideInTheTaskManager, "HideInTheTaskManager"));
}

void FrmMain::window_ShowToolbar(bool show)
{
    mnuShowToolbar->setChecked(show);
    cbToolbar->setVisible(show);
    cbControls->setVisible(show);
    if (show) {
        cbToolbar->move(cbToolbar->x(), 0);
        alignBars();   // the bands take their present heights first
        lstvPlaylist->move(lstvPlaylist->x(), cbControls->height() + cbToolbar->height());
    } else {
        lstvPlaylist->move(lstvPlaylist->x(), 0);
    }
}

void FrmMain::mnuShowToolbar_Click()
{
    const bool show = !mnuShowToolbar->isChecked();
    window_ShowToolbar(show);
    settings_WriteFlag(kSettings, QStringLiteral("ShowToolbar"), show);
    Form_Resize();
}

void FrmMain::mnuShowStatusBar_Click()
{
    sbStatusBar->setVisible(toggle(mnuShowStatusBar, "ShowStatusBar"));
    Form_Resize();
}

void FrmMain::mnuShowPlaylistHeaders_Click()
{
    lstvPlaylist->setHideColumnHeaders(!toggle(mnuShowPlaylistHeaders, "ShowPlaylistHeaders"));
    Form_Resize();
}

void FrmMain::mnuShowFilenamesColumn_Click()
{
    toggle(mnuShowFilenamesColumn, "ShowFilenamesColumn");
    Form_Resize();   // which shows or hides the column by the mark
}

void FrmMain::mnuStatusBarShowTimeElapsed_Click() { timePair(*this).choose(mnuStatusBarShowTimeElapsed); }
void FrmMain::mnuStatusBarShowTimeRemaining_Click() { timePair(*this).choose(mnuStatusBarShowTimeRemaining); }
void FrmMain::mnuKeysUseAsShortcuts_Click() { keysPair(*this).choose(mnuKeysUseAsShortcuts); }
void FrmMain::mnuKeysUseAsArtistFindingKeys_Click() { keysPair(*this).choose(mnuKeysUseAsArtistFindingKeys); }
void FrmMain::mnuTagsShowTagsAsFilesAreAdded_Click() { tagsPair(*this).choose(mnuTagsShowTagsAsFilesAreAdded); }
void FrmMain::mnuTagsShowTagsAsFilesArePlayed_Click() { tagsPair(*this).choose(mnuTagsShowTagsAsFilesArePlayed); }

void FrmMain::mnuWindowsShowEachSongAsItsPlayed_Click() { toggle(mnuWindowsShowEachSongAsItsPlayed, "ShowCurrentSongAlerts"); }

void FrmMain::mnuWindowsShowLyricsWhenAvailable_Click()
{
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    if (!toggle(mnuWindowsShowLyricsWhenAvailable, "ShowLyricsWhenAvailable")) {
        lyrics.lyrics_Close();
        return;
    }
    // A playing or paused song's lyrics appear at once; stopped, the next song brings them.
    if (PlayerState != Playback::Stopped) lyrics.lyrics_OpenFile(wmpPlayer().FileName());
}

void FrmMain::mnuMessengerShowSongsBeingPlayed_Click()
{
    if (!toggle(mnuMessengerShowSongsBeingPlayed, "MessengerShowSongsBeingPlayed")) return;
    msgBox(QStringLiteral("Updating the 'Personal Status Message' will work only if you enable (Turn on \"What I'm Listening To\") "
                          "within MSN Messenger/Windows Live Messenger.\r\n\r\nYou must be using MSN Messenger 7+ (or Windows Live "
                          "Messenger) for this function to work.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Personal Status Message"));
}

void FrmMain::mnuTagsUseID3v2Tags_Click()
{
    toggle(mnuTagsUseID3v2Tags, "UseID3v2Tags");
    if (settings_ReadFlag(kSettings, QStringLiteral("AskConfirmationToUpdatePlaylist"), QStringLiteral("1"))) {
        const MsgResult answer = msgBox(
            QStringLiteral("The playlist setting has not been updated and saved.\r\n\r\nWould you like all of the media files to be "
                           "updated in the playlist to reflect this change?\r\n"),
            MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Update Playlist Confirmation"));
        if (answer != MsgResult::Yes) return;
    }
    playlist_ShowMP3Data(false);
}

// The size is kept until the program ends, which saves it as [Appearance] Fontsize.
void FrmMain::mnuFontsizeIncrease_Click()
{
    const double points = lstvPlaylist->font().pointSizeF();
    if (points < 40) setPointSize(lstvPlaylist, points + 2);
}

void FrmMain::mnuFontsizeDecrease_Click()
{
    const double points = lstvPlaylist->font().pointSizeF();
    if (points > 6) setPointSize(lstvPlaylist, points - 2);
}

void FrmMain::mnuReCenterWindow_Click()
{
    windows_ReCenterForm(this, 1500);
    windows_SavePosition(this, QStringLiteral("MainWindow"), 1500);
}
