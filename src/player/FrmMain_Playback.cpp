// Playback: playing a row, the choice of the next row, stopping, the modes and the random
// history, the now-playing popup.
#include "player/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modMath.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_wScrollbar.h"
#include "extras/FrmMini.h"
#include "extras/FrmTracking.h"
#include "library/FrmLyrics.h"
#include "mainwindow/FrmMenus.h"
#include "media/MediaError.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "platform/MediaPlayerControl.h"
#include "platform/UiServices.h"
#include "player/FrmPlaying.h"
#include "player/FrmVideo.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QTime>
#include <QTimer>

#include <algorithm>

using namespace veltra;

namespace {
void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

bool isVideoExtension(const QString& ext)
{
    static const QStringList video = {"mpe", "mpa", "m1v", "mpg", "mpeg", "wmv", "avi"};
    return video.contains(ext);
}

void playError()
{
    msgBox(QStringLiteral("An error occured while trying to play the selected media file.\r\n\r\nThis function will not continue.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Playing Media File"));
}
} // namespace

// ---- volume and balance ----------------------------------------------------------------------

void FrmMain::player_Volume(int v) { wmpPlayer().setVolume(qint16(v * 60 - 6000)); }

void FrmMain::player_Balance(int v) { wmpPlayer().setBalance(qint16(v * 100 - 5000)); }

// ---- playing a row ------------------------------------------------------------------------------

void FrmMain::player_AdjustVolume(int storedVolume)
{
    auto apply = [this](int value) {
        sldVolume->setValue(value);
        player_Volume(sldVolume->value());
        if (mnuSwitchToMiniMode->isChecked()) forms().get<FrmMini>().qxsVolume->setValue(sldVolume->value());
    };
    if (storedVolume != -1) {
        // The user's own volume is the one before the first stored volume of a run of songs.
        if (VolumeBeforeAdjust == -1) VolumeBeforeAdjust = sldVolume->value();
        apply(storedVolume);
    } else if (VolumeBeforeAdjust != -1) {
        apply(VolumeBeforeAdjust);
        VolumeBeforeAdjust = -1;
    }
}

void FrmMain::handOffSkippedRow()
{
    // A skipped last row leaves the choice to the next-track decision. When that comes back
    // round to such a hand-off before any song has started (nothing but Skip rows to go to),
    // playing stops there rather than going round without end.
    if (m_skipHandOff) {
        stopAndUnload();
        return;
    }
    m_skipHandOff = true;
    player_NextTrack();
    m_skipHandOff = false;
}

void FrmMain::player_Play(int playOrigin)
{
    ListViewModel& list = rows();
    MediaPlayerControl& player = wmpPlayer();

    const int selectedCount = controls_GetSelectedCount(list);
    if (selectedCount > 1) {
        msgBox(QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\n"
                              "When playing songs, you must only select 1 song at a time.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Multiple Songs Selected"));
        return;
    }
    // The one selected row; with none selected, the list's current row.
    int selected = selectedCount == 1 ? list.selectedRows().first() : list.selectedItem();
    if (selected < 1 || selected > list.count()) {
        playError();
        return;
    }
    if (!files_FileExists(list.subItem(selected, 6))) {
        int found = 0;
        for (int r = selected; r <= list.count(); ++r)
            if (files_FileExists(list.subItem(r, 6))) {
                found = r;
                break;
            }
        if (!found) {
            msgBox(QStringLiteral("It has been detected that the files in this playlist do not exist.\r\n\r\n"
                                  "Please check the files in this playlist before continuing.\r\n"),
                   MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Files In Playlist Do Not Exist"));
            return;
        }
        controls_SelectItem(list, found);
        selected = found;
    }

    if (resumePaused()) return;

    const QString status = list.subItem(selected, 4);
    if (status == QLatin1String("Skip Once")) {
        list.setSubItem(selected, 4, QStringLiteral("Play"));
        if (selected == list.count()) {
            handOffSkippedRow();
            return;
        }
        controls_SelectItem(list, selected + 1);
        player_Play(1);
        return;
    }
    if (status == QLatin1String("Skip")) {
        if (selected == list.count()) {
            handOffSkippedRow();
            return;
        }
        int r = selected;
        while (r < list.count() && list.subItem(r, 4) == QLatin1String("Skip")) controls_SelectItem(list, ++r);
        if (list.subItem(r, 4) != QLatin1String("Skip")) player_Play(1);
        return;   // a run of Skip rows to the end plays nothing; the last row stays selected
    }

    if (status == QLatin1String("Play Once")) list.setSubItem(selected, 4, QStringLiteral("Skip"));
    const QString rowFile = list.subItem(selected, 6);
    player.setFileName(rowFile);
    CurrentTrack = selected;
    NowPlayingInfo[0] = list.subItem(CurrentTrack, 1);
    NowPlayingInfo[1] = list.subItem(CurrentTrack, 2);
    NowPlayingInfo[2] = list.subItem(CurrentTrack, 6);
    if (mnuMessengerShowSongsBeingPlayed->isChecked())
        windows_SendMessengerNowPlaying(NowPlayingInfo[0], NowPlayingInfo[1], QStringLiteral("Music"), QString(), QStringLiteral("{1} - {0}"), true);
    player.Play();
    // The player answers at once whether it took the file: one retry, then the error. A
    // refused file is neither coloured as playing, nor logged, nor counted.
    if (player.PlayState() != MediaPlayerControl::Playing) {
        player.setFileName(rowFile);
        player.Play();
        if (player.PlayState() != MediaPlayerControl::Playing) {
            playError();
            return;
        }
    }
    m_skipHandOff = false;   // a song started
    const QString file = player.FileName();   // the path as loaded; lower case only to compare

    controls_SelectItem(list, CurrentTrack);
    playlist_UpdatePlaylist(CurrentTrack);

    FrmAdjustVolumes& volumes = forms().get<FrmAdjustVolumes>();
    if (volumes.chkAlwaysAdjust->isChecked()) player_AdjustVolume(volumes.volumes_GetVolume(file));

    const quint64 playingKey = list.rowKey(CurrentTrack);
    if (list.subItem(CurrentTrack, 4) == QLatin1String("Remove")) mnuRemoveSelected_Click();
    const int playingRow = list.rowOfKey(playingKey);   // 0 once the row was removed

    if (mnuTagsShowTagsAsFilesArePlayed->isChecked() && playingRow > 0) {
        QString artist, title, year;
        try {
            if (mnuTagsUseID3v2Tags->isChecked()) {
                id3v2().setFilename(file);
                artist = id3v2().Artist();
                title = id3v2().Title();
                year = id3v2().Year();
            } else {
                id3v1().setFilename(file);
                artist = id3v1().Artist();
                title = id3v1().Title();
                year = id3v1().Year();
            }
        } catch (const MediaError&) {
            playError();
            return;
        }
        list.setSubItem(playingRow, 1, artist.isEmpty() ? QStringLiteral("[None]") : artist);
        list.setSubItem(playingRow, 2, title.isEmpty() ? QStringLiteral("[None]") : title);
        list.setSubItem(playingRow, 3, year);
    }

    FrmVideo& video = forms().get<FrmVideo>();
    const bool isVideo = isVideoExtension(files_GetExtension(file.toLower()));
    if (isVideo && !video.VideoIsOpen) {
        video.video_Open();
        windows_SetAlwaysOnTop(&video, true);
    } else if (!isVideo && video.VideoIsOpen) {
        windows_SetAlwaysOnTop(&video, false);
        video.video_Close();
    }

    player_ShowPlaying();
    if (mnuWindowsShowLyricsWhenAvailable->isChecked()) forms().get<FrmLyrics>().lyrics_OpenFile(file);

    writeLog(QStringLiteral("Played ") + NowPlayingInfo[0] + QStringLiteral(" - ") + NowPlayingInfo[1] + u'.');
    if (playOrigin == 1) forms().get<FrmTracking>().tracking_Add(NowPlayingInfo[0], NowPlayingInfo[1], NowPlayingInfo[2]);
    else if (playOrigin == 0) window_AddRandomFilename(file);
}

// ---- the next row -------------------------------------------------------------------------------

int FrmMain::PlayerStateNow() const
{
    if (PlayerState != 1) return PlayerState;
    switch (wmpPlayer().PlayState()) {
    case MediaPlayerControl::Playing: return 0;
    case MediaPlayerControl::Paused: return 2;
    default: return 1;
    }
}

void FrmMain::startByPlayRule(int playOrigin)
{
    const int state = PlayerStateNow();
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("PlayOnNextAndPrevious"), QStringLiteral("1")) || state == 0 || state == 2)
        player_Play(playOrigin);
}

void FrmMain::stopAndUnload()
{
    MediaPlayerControl& player = wmpPlayer();
    player.Stop();
    playlist_UpdatePlaylist(0);
    player.Unload(QStringLiteral("1"));   // nothing stays loaded; no file of that name is opened
    FrmVideo& video = forms().get<FrmVideo>();
    if (video.VideoIsOpen) video.video_Close();
    if (forms().isLoaded<FrmLyrics>() && forms().get<FrmLyrics>().LyricsIsOpen) forms().get<FrmLyrics>().lyrics_Close();
}

void FrmMain::startOfList()
{
    CurrentTrack = mnuWorkForwardThroughList->isChecked() ? 1 : rows().count();
    if (CurrentTrack < 1 || CurrentTrack > rows().count()) return;   // an empty list: nothing to load
    wmpPlayer().setFileName(rows().subItem(CurrentTrack, 6));
    controls_SelectItem(rows(), CurrentTrack);
}

QString FrmMain::albumOf(int row)
{
    const QString path = rows().subItem(row, 6);
    QString album;
    try {
        if (mnuTagsUseID3v2Tags->isChecked()) {
            id3v2().setFilename(path);
            album = id3v2().Album();
        } else {
            id3v1().setFilename(path);
            album = id3v1().Album();
        }
    } catch (const MediaError&) {
    }
    return album;
}

void FrmMain::sameValueSearch(int column)
{
    ListViewModel& list = rows();
    QString value;
    if (column == 0) {
        lblAlbum->setText(albumOf(CurrentTrack));
        value = lblAlbum->text();
    } else {
        value = list.subItem(CurrentTrack, column);
    }
    for (int r = CurrentTrack + 1; r <= list.count(); ++r) {
        QString candidate;
        if (column == 0) {
            lblSearch->setText(albumOf(r));
            candidate = lblSearch->text();
        } else {
            candidate = list.subItem(r, column);
        }
        if (QString::compare(candidate, value, Qt::CaseInsensitive) == 0) {
            CurrentTrack = r;
            controls_SelectItem(list, r);
            startByPlayRule();
            return;
        }
    }
    player_Stop();
}

void FrmMain::player_NextTrack()
{
    ListViewModel& list = rows();
    MediaPlayerControl& player = wmpPlayer();
    math::seed(quint64(QTime::currentTime().msecsSinceStartOfDay()));

    if (ResumePending) player_Stop();

    if (PlayNextIndex >= 1) {
        CurrentTrack = PlayNextIndex;
        player.setFileName(list.subItem(CurrentTrack, 6));
        controls_SelectItem(list, CurrentTrack);
        PlayNextIndex = 0;   // cleared before playing, so the mark is not taken for the playing row
        player_Play(1);
        playNextCaptions(false);
        return;
    }

    const bool atEnd = (!mnuWorkBackwardsThroughPlaylist->isChecked() && CurrentTrack == list.count())
                       || (CurrentTrack == 1 && !mnuWorkForwardThroughList->isChecked());
    if (!atEnd) {
        if (mnuPlayingShuffleByArtist->isChecked()) sameValueSearch(1);
        else if (mnuPlayingShuffleByAlbum->isChecked()) sameValueSearch(0);
        else if (mnuPlayingShuffleByYear->isChecked()) sameValueSearch(3);
        else if (mnuPlayingStopAfterEnding->isChecked()) stopAndUnload();
        else if (mnuPlayingPickRandomSongs->isChecked()) mnuRandom_Click();
        else if (mnuPlayingRepeat->isChecked() || mnuPlayingRepeatOnce->isChecked()) {
            const bool once = mnuPlayingRepeatOnce->isChecked();
            player.Stop();
            player.setFileName(list.subItem(CurrentTrack, 6));
            player_Play(1);
            if (once) mnuPlayingGoThroughPlaylistNormally_Click();
        } else if (mnuPlayingGoThroughPlaylistNormally->isChecked() || mnuPlayingIntroduction->isChecked()) {
            if (mnuWorkForwardThroughList->isChecked()) mnuNextTrack_Click();
            else if (mnuWorkBackwardsThroughPlaylist->isEnabled()) mnuPrevious_Click();
        }
        return;
    }

    if (mnuPlaylistSwitchToNext->isChecked()) {
        if (cmbPlaylists->currentIndex() == 0 && cmbPlaylists->count() == 1) {
            stopAndUnload();
            return;
        }
        playlist_UpdatePlaylist(0);
        if (cmbPlaylists->currentIndex() + 1 < cmbPlaylists->count()) cmbPlaylists->setCurrentIndex(cmbPlaylists->currentIndex() + 1);
        controls_SelectItem(list, mnuWorkForwardThroughList->isChecked() ? 1 : list.count());
        window_ResetRandomFilenames();
        startByPlayRule();
    } else if (mnuPlaylistRepeat->isChecked()) {
        startOfList();
        startByPlayRule();
    } else if (mnuPlaylistRepeatOnce->isChecked()) {
        startOfList();
        startByPlayRule();
        mnuPlaylistStopAfterEnding_Click();
    } else if (mnuPlaylistPickRandomAfterEnding->isChecked()) {
        // Drawn among the real playlists of the box only; with none, nothing happens.
        QList<int> playlists;
        for (int i = 1; i < cmbPlaylists->count(); ++i)
            if (cmbPlaylists->itemText(i) != QLatin1String("((Select Playlist))")) playlists.append(i);
        if (playlists.isEmpty()) return;
        playlist_UpdatePlaylist(0);
        const int pick = std::clamp(math_GetRandomNumber(int(playlists.size()), 0, false, 20), 1, int(playlists.size()));
        cmbPlaylists->setCurrentIndex(playlists.at(pick - 1));
        startOfList();
        window_ResetRandomFilenames();
        startByPlayRule();
    } else if (mnuPlaylistStopAfterEnding->isChecked()) {
        stopAndUnload();
    }
}

void FrmMain::player_Stop()
{
    if (PlayerStateNow() == 1) return;
    MediaPlayerControl& player = wmpPlayer();
    player.Stop();
    playlist_UpdatePlaylist(0);
    sldPosition->setValue(0);
    ResumePosition = 0;
    ResumeFilename.clear();
    ResumePending = false;
    if (PlayNextIndex >= 1) {
        const quint32 normal = quint32(qint64(vb::Val(settings_ReadValue(QStringLiteral("Appearance"), QStringLiteral("FontColour"), QStringLiteral("&H80000008")))));
        rows().setForeColour(PlayNextIndex, normal);
        playNextCaptions(false);
        PlayNextIndex = 0;
        lstvPlaylist->viewport()->update();
    }
    FrmVideo& video = forms().get<FrmVideo>();
    if (video.VideoIsOpen) video.video_Close();
    if (forms().isLoaded<FrmLyrics>() && forms().get<FrmLyrics>().LyricsIsOpen) forms().get<FrmLyrics>().lyrics_Close();
    if (mnuMessengerShowSongsBeingPlayed->isChecked())
        windows_SendMessengerNowPlaying(QString(), QString(), QStringLiteral("Music"), QString(), QStringLiteral("{0} - {1}"), false);
    tmrWindowUpdate_Timer();
    player.Unload(QStringLiteral("1"));
    player_ClosePlaying();
}

// ---- now-playing popup -----------------------------------------------------------------------------

void FrmMain::player_ShowPlaying()
{
    if (!mnuWindowsShowEachSongAsItsPlayed->isChecked() || AppIsActive) return;
    FrmPlaying& popup = forms().get<FrmPlaying>();
    popup.TickCount = 0;
    windows_ShowNoActivate(&popup, 0);
    windows_SetAlwaysOnTop(&popup, true);
    // The playing row's texts; a "Remove" row has left the list already, so its song's own.
    const ListViewModel& list = rows();
    const bool rowPlays = CurrentTrack >= 1 && CurrentTrack <= list.count() && list.subItem(CurrentTrack, 6) == NowPlayingInfo[2];
    popup.lblText->setText(rowPlays ? list.subItem(CurrentTrack, 1) + QStringLiteral(" - ") + list.subItem(CurrentTrack, 2)
                                    : NowPlayingInfo[0] + QStringLiteral(" - ") + NowPlayingInfo[1]);
    popup.lblText->adjustSize();
    const int labelW = popup.lblText->width();
    popup.resize(labelW + vb::TwipsToPixels(480), popup.height());
    popup.lblText->move(popup.width() / 2 - labelW / 2, popup.height() / 2 - popup.lblText->height() / 2);
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
    popup.move(screen.width() / 2 - popup.width() / 2, screen.height() / 2 - popup.height() / 2);
    popup.tmrTimer->start();
}

void FrmMain::player_ClosePlaying()
{
    if (!mnuWindowsShowEachSongAsItsPlayed->isChecked()) return;
    if (!forms().isLoaded<FrmPlaying>()) return;
    forms().get<FrmPlaying>().tmrTimer->stop();
    forms().unload<FrmPlaying>();
}

// ---- random history ------------------------------------------------------------------------------

void FrmMain::window_AddRandomFilename(const QString& fileName)
{
    // Two paths are one file only when they are equal as texts.
    if (RandomHistory.size() > 1 && RandomHistory.contains(fileName)) return;
    ++RandomHistoryCount;
    RandomHistoryCursor = RandomHistoryCount;
    RandomHistory.append(fileName);
}

void FrmMain::window_ResetRandomFilenames()
{
    RandomHistoryCount = 0;
    RandomHistoryCursor = 0;
    RandomHistory = QStringList{QString()};
}

// ---- modes ---------------------------------------------------------------------------------------------

// One item of a group of modes: every item unticked and its key written "0", then the chosen
// item ticked and its key written "1".
void FrmMain::selectMode(std::initializer_list<std::pair<QAction*, const char*>> items, const QString& section, QAction* chosen,
                         const QString& key, const std::function<void()>& between)
{
    for (const auto& [item, k] : items) item->setChecked(false);
    for (const auto& [item, k] : items) settings_WriteValue(section, QString::fromLatin1(k), QStringLiteral("0"));
    if (between) between();
    chosen->setChecked(true);
    settings_WriteValue(section, key, QStringLiteral("1"));
}

void FrmMain::Menu_SelectPlaybackMode(QAction* menu, const QString& key, bool directionEnabled)
{
    selectMode({{mnuPlayingShuffleByArtist, "PlayingShuffleByArtist"},
                {mnuPlayingShuffleByAlbum, "PlayingShuffleByAlbum"},
                {mnuPlayingShuffleByYear, "PlayingShuffleByYear"},
                {mnuPlayingIntroduction, "PlayingIntroduction"},
                {mnuPlayingRepeat, "PlayingRepeat"},
                {mnuPlayingRepeatOnce, "PlayingRepeatOnce"},
                {mnuPlayingStopAfterEnding, "PlayingStopAfterEnding"},
                {mnuPlayingPickRandomSongs, "PlayingPickRandomSongs"},
                {mnuPlayingGoThroughPlaylistNormally, "PlayingGoThroughPlaylistNormally"}},
               QStringLiteral("Playback"), menu, key, [&] {
                   mnuWorkForwardThroughList->setEnabled(directionEnabled);
                   mnuWorkBackwardsThroughPlaylist->setEnabled(directionEnabled);
               });
}

void FrmMain::Menu_SelectPlaylistMode(QAction* menu, const QString& key)
{
    selectMode({{mnuPlaylistRepeat, "PlaylistRepeat"},
                {mnuPlaylistRepeatOnce, "PlaylistRepeatOnce"},
                {mnuPlaylistStopAfterEnding, "PlaylistStopAfterEnding"},
                {mnuPlaylistPickRandomAfterEnding, "PlaylistPickRandomAfterEnding"},
                {mnuPlaylistSwitchToNext, "PlaylistSwitchToNext"}},
               QStringLiteral("Playback"), menu, key);
}

void FrmMain::Menu_SelectSort(QAction* menu, int sortColumn, const QString& key)
{
    selectMode({{mnuSortByArtist, "SortByArtist"},
                {mnuSortByTitle, "SortByTitle"},
                {mnuSortByYear, "SortByYear"},
                {mnuSortByLength, "SortByLength"},
                {mnuSortByFilename, "SortByFilename"}},
               QStringLiteral("ListSorting"), menu, key, [&] { rows().setSortKey(sortColumn); });
    writeLog(QStringLiteral("Sort mode set to:  ") + key.mid(6) + u'.');
    controls_RenumberItems(rows());
}
