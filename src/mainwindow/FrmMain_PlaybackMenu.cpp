// Transport commands, the Play Next mark and the mode menus of the main window.
#include "mainwindow/FrmMain.h"

#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modMath.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "common/modVB.h"
#include "controls/ctlQX_wTextPanel.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "platform/UiServices.h"
#include "player/FrmVideo.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSlider>
#include <QStyle>
#include <QTime>

using namespace veltra;

namespace {
const QString kTab = QStringLiteral("\t");

quint32 settingColour(const char* key, const char* def)
{
    return quint32(qint64(vb::Val(settings_ReadValue(QStringLiteral("Appearance"), QString::fromLatin1(key), QString::fromLatin1(def)))));
}
} // namespace

void FrmMain::playNextCaptions(bool inUse)
{
    const QString caption = (inUse ? QStringLiteral("Play Ne&xt (In Use)...") : QStringLiteral("Play Ne&xt...")) + kTab + u'X';
    forms().get<FrmMenus>().mnuPlayNext->setText(caption);
    mnuPlayNext->setText(caption);
}

void FrmMain::mnuPlay_Click() { player_Play(1); }

// The paused song, when one waits, plays on from its whole second.
bool FrmMain::resumePaused()
{
    if (!ResumePending) return false;
    MediaPlayerControl& player = wmpPlayer();
    player.setFileName(ResumeFilename);
    player.Play();
    player.setCurrentPosition(double(ResumePosition));
    ResumePending = false;
    ResumeFilename.clear();
    forms().get<FrmVideo>().qxbPause->setCaption(QStringLiteral("Pause"));
    return true;
}

void FrmMain::mnuPause_Click()
{
    MediaPlayerControl& player = wmpPlayer();
    FrmVideo& video = forms().get<FrmVideo>();
    if (resumePaused()) return;
    if (player.PlayState() == MediaPlayerControl::State::Playing) {
        ResumePosition = qint64(vb::Round(player.CurrentPosition()));
        ResumeFilename = player.FileName();
        player.Pause();
        ResumePending = true;
        video.qxbPause->setCaption(QStringLiteral("Play"));
    }
}

void FrmMain::mnuStop_Click() { player_Stop(); }

void FrmMain::mnuNextTrackAdvanced_Click() { player_NextTrack(); }

// In the pick-random-songs mode Next and Previous walk the random history: the cursor moves
// by `step` and the row of the file found there is selected. False when the history has no
// such entry or its file is no longer in the playlist (the cursor stays moved).
bool FrmMain::stepRandomHistory(int step)
{
    const std::optional<QString> file = m_sequence.stepHistory(step);
    const int row = file ? m_sequence.rowOfFile(*file) : 0;
    if (row < 1) return false;
    player_Stop();
    controls_SelectItem(rows(), row);
    return true;
}

void FrmMain::mnuNextTrack_Click()
{
    ListViewModel& list = rows();
    MediaPlayerControl& player = wmpPlayer();
    if (ResumePending) player_Stop();
    const bool fromHistory = stepRandomHistory(1);
    if (!fromHistory) {
        if (PlayerStateNow() == Playback::Stopped) CurrentTrack = list.selectedItem();
        CurrentTrack = m_sequence.nextRow(CurrentTrack);
        if (CurrentTrack <= list.count()) {   // an empty list loads and selects nothing
            player.setFileName(list.subItem(CurrentTrack, PlaylistColumn::Filename));
            controls_SelectItem(list, CurrentTrack);
        }
    }
    startByPlayRule(fromHistory ? 2 : 1);
}

void FrmMain::mnuPrevious_Click()
{
    ListViewModel& list = rows();
    MediaPlayerControl& player = wmpPlayer();
    if (ResumePending) player_Stop();
    const bool fromHistory = stepRandomHistory(-1);
    if (!fromHistory) {
        if (PlayerStateNow() == Playback::Stopped) CurrentTrack = list.selectedItem();
        // A list without a "Play" row to step back to leaves everything as it was.
        const int row = m_sequence.previousPlayRow(CurrentTrack);
        if (row < 1) return;
        CurrentTrack = row;
        player.setFileName(list.subItem(CurrentTrack, PlaylistColumn::Filename));
        controls_SelectItem(list, CurrentTrack);
    }
    startByPlayRule(fromHistory ? 2 : 1);
}

void FrmMain::mnuRandom_Click()
{
    ListViewModel& list = rows();
    if (list.count() < 6) {
        mnuNextTrack_Click();
        return;
    }
    if (ResumePending) player_Stop();
    math::seed(quint64(QTime::currentTime().msecsSinceStartOfDay()));
    int n = math_GetRandomNumber(list.count(), 0, true, vb::CInt(list.count() / 2.0));
    if (n == 0) n = 1;
    CurrentTrack = n;
    controls_SelectItem(list, n);
    player_Play(0);
}

void FrmMain::mnuFastForward_Click()
{
    MediaPlayerControl& player = wmpPlayer();
    if (player.PlayState() != MediaPlayerControl::State::Playing) return;
    const double r = qint64(vb::Val(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("RewindForwardRate"), QStringLiteral("5"))));
    if (player.Duration() >= player.CurrentPosition() + r) player.setCurrentPosition(player.CurrentPosition() + r);
}

void FrmMain::mnuRewind_Click()
{
    MediaPlayerControl& player = wmpPlayer();
    if (player.PlayState() != MediaPlayerControl::State::Playing) return;
    const double r = qint64(vb::Val(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("RewindForwardRate"), QStringLiteral("5"))));
    if (player.CurrentPosition() >= r) player.setCurrentPosition(player.CurrentPosition() - r);
}

void FrmMain::mnuMute_Click()
{
    QAction* button = toolbarButton(QStringLiteral("Mute"));
    if (mnuMute->text() == QStringLiteral("Mut&e") + kTab + u'E') {
        tray_SetIcon(QApplication::style()->standardIcon(QStyle::SP_MediaVolumeMuted));
        mnuMute->setText(QStringLiteral("Un-Mut&e") + kTab + u'E');
        if (button) {
            button->setToolTip(QStringLiteral("Un-Mute"));
            button->setIcon(controls_ThemeIcon("audio-volume-high", QStyle::SP_MediaVolume));
            if (!button->isChecked()) button->setChecked(true);
        }
        player_Volume(0);
        sldVolume->setEnabled(false);
    } else {
        tray_SetIcon(windowIcon());
        mnuMute->setText(QStringLiteral("Mut&e") + kTab + u'E');
        if (button) {
            button->setToolTip(QStringLiteral("Mute"));
            button->setIcon(controls_ThemeIcon("audio-volume-muted", QStyle::SP_MediaVolumeMuted));
            if (button->isChecked()) button->setChecked(false);
        }
        player_Volume(sldVolume->value());
        sldVolume->setEnabled(true);
    }
    window_SetMenuImages();
}

void FrmMain::mnuStoreVolume_Click()
{
    ListViewModel& list = rows();
    if (controls_GetSelectedCount(list) >= 2) {
        msgBox(QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Storing Volume"));
        return;
    }
    const int row = list.selectedItem();
    if (row < 1 || !list.isSelected(row)) return;   // nothing to store for
    forms().get<FrmAdjustVolumes>().volumes_Add(list.subItem(row, PlaylistColumn::Artist), list.subItem(row, PlaylistColumn::Title), sldVolume->value(), list.subItem(row, PlaylistColumn::Filename));
}

void FrmMain::mnuPlayNext_Click()
{
    ListViewModel& list = rows();
    if (!controls_HasSelectedItem(list)) return;
    if (wmpPlayer().PlayState() != MediaPlayerControl::State::Playing) return;
    if (controls_GetSelectedCount(list) >= 2) {
        msgBox(QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error With Selected Song"));
        return;
    }
    int i = list.selectedItem();
    if (i < 1 || !list.isSelected(i)) i = list.selectedRows().value(0);
    if (playlist_RowStatus(list, i) == RowStatus::Skip) {
        msgBox(QStringLiteral("The song that you have selected from the playlist is currently set to Skip.\r\n\r\n"
                              "Please select a different song to play next.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error With Selected Song"));
        return;
    }
    if (i == CurrentTrack) {
        msgBox(QStringLiteral("The song that you have selected from the playlist is currently playing.\r\n\r\n"
                              "Please select a different song to play next.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error With Selected Song"));
        return;
    }
    if (PlayNextIndex > 0) {
        list.setForeColour(PlayNextIndex, settingColour("FontColour", "&H80000008"));
        if (i == PlayNextIndex) {
            playNextCaptions(false);
            PlayNextIndex = 0;
            return;
        }
    }
    PlayNextIndex = i;
    list.setForeColour(i, settingColour("PlayNextFontColour", "&HC00000"));
    playNextCaptions(true);
}

void FrmMain::mnuJumpToCurrentlyPlaying_Click()
{
    if (PlayerStateNow() == Playback::Stopped) return;
    ListViewModel& list = rows();
    for (int r = 1; r <= list.count(); ++r) {
        if (list.subItem(r, PlaylistColumn::Filename) == NowPlayingInfo[2]) {
            controls_SelectItem(list, r);
            playlist_UpdatePlaylist(r);
            CurrentTrack = r;
            return;
        }
    }
}

namespace {
// Our own picture where neither the icon theme nor the style has one: a plus for adding.
QIcon addPicture()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.fillRect(7, 3, 2, 10, QColor(0x20, 0x80, 0x20));
    g.fillRect(3, 7, 10, 2, QColor(0x20, 0x80, 0x20));
    return QIcon(p);
}

QIcon menuPicture(const char* themeName, const QIcon& fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), fallback);
}

QIcon stylePicture(QStyle::StandardPixmap which) { return QApplication::style()->standardIcon(which); }
} // namespace

void FrmMain::window_SetMenuImages()
{
    // The pictures of the File, Playback, Window and Help items: the desktop's icon theme
    // where it has a fitting one, the style's or our own otherwise. The mute item's follows
    // its caption.
    const bool muted = mnuMute->text().startsWith(QStringLiteral("Un-"));
    const std::tuple<QAction*, const char*, QIcon> pictures[] = {
        {mnuNew, "document-new", stylePicture(QStyle::SP_FileIcon)},
        {mnuAddFiles, "list-add", addPicture()},
        {mnuOpenPlaylist, "document-open", stylePicture(QStyle::SP_DialogOpenButton)},
        {mnuSave, "document-save", stylePicture(QStyle::SP_DialogSaveButton)},
        {mnuPrint, "document-print", stylePicture(QStyle::SP_FileDialogDetailedView)},
        {mnuExit, "application-exit", stylePicture(QStyle::SP_DialogCloseButton)},
        {mnuPrevious, "media-skip-backward", stylePicture(QStyle::SP_MediaSkipBackward)},
        {mnuRewind, "media-seek-backward", stylePicture(QStyle::SP_MediaSeekBackward)},
        {mnuPlay, "media-playback-start", stylePicture(QStyle::SP_MediaPlay)},
        {mnuPause, "media-playback-pause", stylePicture(QStyle::SP_MediaPause)},
        {mnuStop, "media-playback-stop", stylePicture(QStyle::SP_MediaStop)},
        {mnuRandom, "media-playlist-shuffle", stylePicture(QStyle::SP_BrowserReload)},
        {mnuFastForward, "media-seek-forward", stylePicture(QStyle::SP_MediaSeekForward)},
        {mnuNextTrack, "media-skip-forward", stylePicture(QStyle::SP_MediaSkipForward)},
        {mnuNextTrackAdvanced, "go-last", stylePicture(QStyle::SP_ArrowRight)},
        {mnuMute, muted ? "audio-volume-high" : "audio-volume-muted", stylePicture(muted ? QStyle::SP_MediaVolume : QStyle::SP_MediaVolumeMuted)},
        {mnuReCenterWindow, "zoom-fit-best", stylePicture(QStyle::SP_DesktopIcon)},
        {mnuTracking, "document-new", stylePicture(QStyle::SP_FileIcon)},
        {mnuAbout, "help-about", stylePicture(QStyle::SP_MessageBoxInformation)},
    };
    for (const auto& [item, name, fallback] : pictures) item->setIcon(menuPicture(name, fallback));
}

// ---- mode menus ---------------------------------------------------------------------------------

void FrmMain::mnuPlayingShuffleByArtist_Click() { Menu_SelectPlaybackMode(mnuPlayingShuffleByArtist, QStringLiteral("PlayingShuffleByArtist"), false); }
void FrmMain::mnuPlayingShuffleByAlbum_Click() { Menu_SelectPlaybackMode(mnuPlayingShuffleByAlbum, QStringLiteral("PlayingShuffleByAlbum"), false); }
void FrmMain::mnuPlayingShuffleByYear_Click() { Menu_SelectPlaybackMode(mnuPlayingShuffleByYear, QStringLiteral("PlayingShuffleByYear"), false); }
void FrmMain::mnuPlayingIntroduction_Click() { Menu_SelectPlaybackMode(mnuPlayingIntroduction, QStringLiteral("PlayingIntroduction"), true); }
void FrmMain::mnuPlayingRepeat_Click() { Menu_SelectPlaybackMode(mnuPlayingRepeat, QStringLiteral("PlayingRepeat"), false); }
void FrmMain::mnuPlayingRepeatOnce_Click() { Menu_SelectPlaybackMode(mnuPlayingRepeatOnce, QStringLiteral("PlayingRepeatOnce"), false); }
void FrmMain::mnuPlayingStopAfterEnding_Click() { Menu_SelectPlaybackMode(mnuPlayingStopAfterEnding, QStringLiteral("PlayingStopAfterEnding"), false); }
void FrmMain::mnuPlayingPickRandomSongs_Click() { Menu_SelectPlaybackMode(mnuPlayingPickRandomSongs, QStringLiteral("PlayingPickRandomSongs"), false); }
void FrmMain::mnuPlayingGoThroughPlaylistNormally_Click()
{
    Menu_SelectPlaybackMode(mnuPlayingGoThroughPlaylistNormally, QStringLiteral("PlayingGoThroughPlaylistNormally"), true);
}

void FrmMain::mnuWorkForwardThroughList_Click()
{
    m_sequence.setDirection(PlayDirection::Forward);
    settings_WriteValue(QStringLiteral("PlayMode"), QStringLiteral("WorkForwardThroughList"), QStringLiteral("1"));
    settings_WriteValue(QStringLiteral("PlayMode"), QStringLiteral("WorkBackwardsThroughPlaylist"), QStringLiteral("0"));
}

void FrmMain::mnuWorkBackwardsThroughPlaylist_Click()
{
    m_sequence.setDirection(PlayDirection::Backward);
    settings_WriteValue(QStringLiteral("PlayMode"), QStringLiteral("WorkForwardThroughList"), QStringLiteral("0"));
    settings_WriteValue(QStringLiteral("PlayMode"), QStringLiteral("WorkBackwardsThroughPlaylist"), QStringLiteral("1"));
}

void FrmMain::mnuPlaylistRepeat_Click() { Menu_SelectPlaylistMode(mnuPlaylistRepeat, QStringLiteral("PlaylistRepeat")); }
void FrmMain::mnuPlaylistRepeatOnce_Click() { Menu_SelectPlaylistMode(mnuPlaylistRepeatOnce, QStringLiteral("PlaylistRepeatOnce")); }
void FrmMain::mnuPlaylistStopAfterEnding_Click() { Menu_SelectPlaylistMode(mnuPlaylistStopAfterEnding, QStringLiteral("PlaylistStopAfterEnding")); }
void FrmMain::mnuPlaylistPickRandomAfterEnding_Click()
{
    Menu_SelectPlaylistMode(mnuPlaylistPickRandomAfterEnding, QStringLiteral("PlaylistPickRandomAfterEnding"));
}
void FrmMain::mnuPlaylistSwitchToNext_Click() { Menu_SelectPlaylistMode(mnuPlaylistSwitchToNext, QStringLiteral("PlaylistSwitchToNext")); }

void FrmMain::mnuSortByArtist_Click() { Menu_SelectSort(mnuSortByArtist, PlaylistColumn::Artist, QStringLiteral("SortByArtist")); }
void FrmMain::mnuSortByTitle_Click() { Menu_SelectSort(mnuSortByTitle, PlaylistColumn::Title, QStringLiteral("SortByTitle")); }
void FrmMain::mnuSortByYear_Click() { Menu_SelectSort(mnuSortByYear, PlaylistColumn::Year, QStringLiteral("SortByYear")); }
void FrmMain::mnuSortByLength_Click() { Menu_SelectSort(mnuSortByLength, PlaylistColumn::Length, QStringLiteral("SortByLength")); }
void FrmMain::mnuSortByFilename_Click() { Menu_SelectSort(mnuSortByFilename, PlaylistColumn::Filename, QStringLiteral("SortByFilename")); }
