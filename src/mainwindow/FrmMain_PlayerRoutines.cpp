// Playback: playing a row, the choice of the next row, stopping, the modes and the random
// history, the now-playing popup.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modMath.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_wScrollbar.h"
#include "controls/ctlQX_wTextPanel.h"
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
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
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

void filesMissingError()
{
    msgBox(QStringLiteral("It has been detected that the files in this playlist do not exist.\r\n\r\n"
                          "Please check the files in this playlist before continuing.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Files In Playlist Do Not Exist"));
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
    // A passed-over last row leaves the choice to the next-track decision, which may open
    // further playlists; coming back to one already left with no song started stops there.
    const int playlist = cmbPlaylists->currentIndex();
    if (!m_sequence.beginHandOff(playlist)) {
        stopAndUnload();
        return;
    }
    player_NextTrack();
    m_sequence.endHandOff(playlist);
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
    const int withFile = m_sequence.firstRowWithFile(selected);
    if (!withFile) {
        filesMissingError();
        return;
    }
    if (withFile != selected) {
        controls_SelectItem(list, withFile);
        selected = withFile;
    }

    if (resumePaused()) return;

    // Rows passed over by their status, in one pass however long the run.
    const RowToStart start = m_sequence.rowToStart(selected);
    for (int r : start.passedOnce) playlist_SetRowStatus(list, r, RowStatus::Play);
    if (start.row != selected) {
        controls_SelectItem(list, start.row);
        playOrigin = 1;   // a row further on plays as an ordinary play
    }
    switch (start.kind) {
    case RowToStart::Kind::NoFiles: filesMissingError(); return;
    case RowToStart::Kind::HandOff: handOffSkippedRow(); return;
    case RowToStart::Kind::Nothing: return;
    case RowToStart::Kind::Play: selected = start.row; break;
    }

    const RowStatus status = playlist_RowStatus(list, selected);
    if (status == RowStatus::PlayOnce) playlist_SetRowStatus(list, selected, RowStatus::Skip);
    const QString rowFile = list.subItem(selected, PlaylistColumn::Filename);
    // The song's own volume is set before its file is opened: opening already sends the first
    // samples through the volume filter on their way to the sound device, so a level set
    // after Play would be heard only some way into the song.
    const int volumeBefore = sldVolume->value();
    const int volumeBeforeAdjust = VolumeBeforeAdjust;
    FrmAdjustVolumes& volumes = forms().get<FrmAdjustVolumes>();
    if (volumes.chkAlwaysAdjust->isChecked()) player_AdjustVolume(volumes.volumes_GetVolume(rowFile));
    player.setFileName(rowFile);
    CurrentTrack = selected;
    NowPlayingInfo[0] = list.subItem(CurrentTrack, PlaylistColumn::Artist);
    NowPlayingInfo[1] = list.subItem(CurrentTrack, PlaylistColumn::Title);
    NowPlayingInfo[2] = list.subItem(CurrentTrack, PlaylistColumn::Filename);
    if (mnuMessengerShowSongsBeingPlayed->isChecked())
        windows_SendMessengerNowPlaying(NowPlayingInfo[0], NowPlayingInfo[1], QStringLiteral("Music"), QString(), QStringLiteral("{1} - {0}"), true);
    player.Play();
    // The player answers at once whether it took the file: one retry, then the error. A
    // refused file is neither coloured as playing, nor logged, nor counted.
    if (player.PlayState() != MediaPlayerControl::State::Playing) {
        player.setFileName(rowFile);
        player.Play();
        if (player.PlayState() != MediaPlayerControl::State::Playing) {
            // Nothing plays: the volume stays as the user had it.
            if (sldVolume->value() != volumeBefore) player_AdjustVolume(volumeBefore);
            VolumeBeforeAdjust = volumeBeforeAdjust;
            playError();
            return;
        }
    }
    m_sequence.songStarted();
    // Stop and Pause (their keys and buttons too) work at once, before the position timer's tick.
    enableSongCommands(true, true);
    const QString file = player.FileName();   // the path as loaded; lower case only to compare

    controls_SelectItem(list, CurrentTrack);
    playlist_UpdatePlaylist(CurrentTrack);

    const quint64 playingKey = list.rowKey(CurrentTrack);
    // A "Remove" row leaves the list as it starts, though its song plays on.
    if (playlist_RowStatus(list, CurrentTrack) == RowStatus::Remove) removeSelectedRows(false);
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
        list.setSubItem(playingRow, PlaylistColumn::Artist, artist.isEmpty() ? QStringLiteral("[None]") : artist);
        list.setSubItem(playingRow, PlaylistColumn::Title, title.isEmpty() ? QStringLiteral("[None]") : title);
        list.setSubItem(playingRow, PlaylistColumn::Year, year);
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

    // The popup after the lyrics: raising them raises the main window they belong to, which
    // is not to come over the popup.
    if (mnuWindowsShowLyricsWhenAvailable->isChecked()) forms().get<FrmLyrics>().lyrics_OpenFile(file);
    player_ShowPlaying();

    writeLog(QStringLiteral("Played ") + NowPlayingInfo[0] + QStringLiteral(" - ") + NowPlayingInfo[1] + u'.');
    if (playOrigin == 1) forms().get<FrmTracking>().tracking_Add(NowPlayingInfo[0], NowPlayingInfo[1], NowPlayingInfo[2]);
    else if (playOrigin == 0) window_AddRandomFilename(file);
}

// ---- the next row -------------------------------------------------------------------------------

FrmMain::Playback FrmMain::PlayerStateNow() const
{
    if (PlayerState != Playback::Stopped) return PlayerState;
    switch (wmpPlayer().PlayState()) {
    case MediaPlayerControl::State::Playing: return Playback::Playing;
    case MediaPlayerControl::State::Paused: return Playback::Paused;
    default: return Playback::Stopped;
    }
}

void FrmMain::startByPlayRule(int playOrigin)
{
    const Playback state = PlayerStateNow();
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("PlayOnNextAndPrevious"), QStringLiteral("1")) || state == Playback::Playing
        || state == Playback::Paused)
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
    CurrentTrack = m_sequence.startRow();
    if (CurrentTrack < 1 || CurrentTrack > rows().count()) return;   // an empty list: nothing to load
    wmpPlayer().setFileName(rows().subItem(CurrentTrack, PlaylistColumn::Filename));
    controls_SelectItem(rows(), CurrentTrack);
}

QString FrmMain::albumOf(const QString& file)
{
    QString album;
    try {
        if (mnuTagsUseID3v2Tags->isChecked()) {
            id3v2().setFilename(file);
            album = id3v2().Album();
        } else {
            id3v1().setFilename(file);
            album = id3v1().Album();
        }
    } catch (const MediaError&) {
    }
    return album;
}

void FrmMain::player_NextTrack()
{
    ListViewModel& list = rows();
    MediaPlayerControl& player = wmpPlayer();
    math::seed(quint64(QTime::currentTime().msecsSinceStartOfDay()));

    if (ResumePending) player_Stop();

    PlaylistChoice box{cmbPlaylists->currentIndex(), {}};
    for (int i = 0; i < cmbPlaylists->count(); ++i) box.entries.append(cmbPlaylists->itemText(i));
    const NextStep step = m_sequence.next(m_sequence.position(CurrentTrack), PlayNextIndex, box);
    if (step.album) lblAlbum->setText(*step.album);
    if (step.lastAlbumCompared) lblSearch->setText(*step.lastAlbumCompared);

    using K = NextStep::Kind;
    switch (step.kind) {
    case K::PlayMarked:
        CurrentTrack = step.row;
        player.setFileName(list.subItem(CurrentTrack, PlaylistColumn::Filename));
        controls_SelectItem(list, CurrentTrack);
        PlayNextIndex = 0;   // cleared before playing, so the mark is not taken for the playing row
        player_Play(1);
        playNextCaptions(false);
        break;
    case K::PlayRow:
        CurrentTrack = step.row;
        controls_SelectItem(list, step.row);
        startByPlayRule();
        break;
    case K::Replay:
        player.Stop();
        player.setFileName(list.subItem(step.row, PlaylistColumn::Filename));
        player_Play(1);
        break;
    case K::StepForward: mnuNextTrack_Click(); break;
    case K::StepBackward:
        CurrentTrack = step.row;
        mnuPrevious_Click();
        break;
    case K::PickRandom: mnuRandom_Click(); break;
    case K::Stop: player_Stop(); break;
    case K::StopAndUnload: stopAndUnload(); break;
    case K::StartOver:
        startOfList();
        startByPlayRule();
        break;
    case K::NextPlaylist:
        playlist_UpdatePlaylist(0);
        if (step.playlist != cmbPlaylists->currentIndex()) cmbPlaylists->setCurrentIndex(step.playlist);
        controls_SelectItem(list, m_sequence.startRow());
        window_ResetRandomFilenames();
        startByPlayRule();
        break;
    case K::RandomPlaylist:
        playlist_UpdatePlaylist(0);
        cmbPlaylists->setCurrentIndex(step.playlist);
        startOfList();
        window_ResetRandomFilenames();
        startByPlayRule();
        break;
    case K::Nothing: break;
    }
    selectModeAfterwards(step);
}

void FrmMain::player_Stop()
{
    if (PlayerStateNow() == Playback::Stopped) return;
    MediaPlayerControl& player = wmpPlayer();
    player.Stop();
    playlist_UpdatePlaylist(0);
    sldPosition->setValue(0);
    ResumePosition = 0;
    ResumeFilename.clear();
    // No song waits paused any more: the video window's button pauses again.
    if (ResumePending) forms().get<FrmVideo>().qxbPause->setCaption(QStringLiteral("Pause"));
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
    // Asked now, not as the window timer last saw it: a media key pressed in another program can
    // start the song within the timer's tick after the program lost the focus.
    AppIsActive = QApplication::activeWindow() != nullptr;
    if (!mnuWindowsShowEachSongAsItsPlayed->isChecked() || AppIsActive) return;
    FrmPlaying& popup = forms().get<FrmPlaying>();
    popup.TickCount = 0;
    windows_SetAlwaysOnTop(&popup, true);
    // The playing row's texts; a "Remove" row has left the list already, so its song's own.
    const ListViewModel& list = rows();
    const bool rowPlays = CurrentTrack >= 1 && CurrentTrack <= list.count() && list.subItem(CurrentTrack, PlaylistColumn::Filename) == NowPlayingInfo[2];
    popup.lblText->setText(rowPlays ? list.subItem(CurrentTrack, PlaylistColumn::Artist) + QStringLiteral(" - ") + list.subItem(CurrentTrack, PlaylistColumn::Title)
                                    : NowPlayingInfo[0] + QStringLiteral(" - ") + NowPlayingInfo[1]);
    popup.lblText->adjustSize();
    const int labelW = popup.lblText->width();
    popup.resize(labelW + vb::TwipsToPixels(480), popup.height());
    popup.lblText->move(popup.width() / 2 - labelW / 2, popup.height() / 2 - popup.lblText->height() / 2);
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
    popup.move(screen.width() / 2 - popup.width() / 2, screen.height() / 2 - popup.height() / 2);
    // Shown once sized and placed, so that it is never seen anywhere else.
    windows_ShowNoActivate(&popup, 0);
    windows_RaiseNoActivate(&popup);
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

void FrmMain::window_AddRandomFilename(const QString& fileName) { m_sequence.history().add(fileName); }

void FrmMain::window_ResetRandomFilenames() { m_sequence.history().reset(); }

// ---- modes ---------------------------------------------------------------------------------------------

void FrmMain::connectSequence()
{
    m_sequence.setRows(&rows());
    m_sequence.setAlbumReader([this](const QString& file) { return albumOf(file); });
    connect(&m_sequence, &PlaybackSequence::modesChanged, this, [this] { showModes(); });
}

// The check marks of the mode items, and the direction items' enabling, show the modes. A
// mode item is named after its settings key.
void FrmMain::showModes()
{
    const PlaybackModes& m = m_sequence.modes();
    for (QAction* a : mnuOptions->actions()) {
        const QString key = a->objectName().mid(3);
        if (playingModeOfKey(key) != PlayingMode::None) a->setChecked(playingModeOfKey(key) == m.playing);
        else if (endOfListModeOfKey(key) != EndOfListMode::None) a->setChecked(endOfListModeOfKey(key) == m.endOfList);
    }
    mnuWorkForwardThroughList->setChecked(m.direction == PlayDirection::Forward);
    mnuWorkBackwardsThroughPlaylist->setChecked(m.direction == PlayDirection::Backward);
    mnuWorkForwardThroughList->setEnabled(m.directionSelectable);
    mnuWorkBackwardsThroughPlaylist->setEnabled(m.directionSelectable);
}

// The "once" modes fall back to another mode after one use, as a click on its item would.
void FrmMain::selectModeAfterwards(const NextStep& step)
{
    auto item = [this](const QString& key) -> QAction* {
        for (QAction* a : mnuOptions->actions())
            if (a->objectName().mid(3) == key) return a;
        return nullptr;
    };
    if (step.thenPlaying) {
        const QString key = playingModeKey(*step.thenPlaying);
        Menu_SelectPlaybackMode(item(key), key, directionSelectable(*step.thenPlaying));
    }
    if (step.thenEndOfList) {
        const QString key = endOfListModeKey(*step.thenEndOfList);
        Menu_SelectPlaylistMode(item(key), key);
    }
}

// One item of a group of modes: every key of the group written "0", the mode set (its item
// ticked, the others not), then the chosen key written "1".
void FrmMain::Menu_SelectPlaybackMode(QAction* menu, const QString& key, bool directionEnabled)
{
    for (const QString& k : playingModeKeys()) settings_WriteValue(QStringLiteral("Playback"), k, QStringLiteral("0"));
    m_sequence.setPlayingMode(menu ? playingModeOfKey(menu->objectName().mid(3)) : PlayingMode::None, directionEnabled);
    settings_WriteValue(QStringLiteral("Playback"), key, QStringLiteral("1"));
}

void FrmMain::Menu_SelectPlaylistMode(QAction* menu, const QString& key)
{
    for (const QString& k : endOfListModeKeys()) settings_WriteValue(QStringLiteral("Playback"), k, QStringLiteral("0"));
    m_sequence.setEndOfListMode(menu ? endOfListModeOfKey(menu->objectName().mid(3)) : EndOfListMode::None);
    settings_WriteValue(QStringLiteral("Playback"), key, QStringLiteral("1"));
}

// One sort column: every item unticked and its key written "0", the sort key set, then the
// chosen item ticked and its key written "1".
void FrmMain::Menu_SelectSort(QAction* menu, int sortColumn, const QString& key)
{
    const std::pair<QAction*, const char*> items[] = {{mnuSortByArtist, "SortByArtist"},
                                                      {mnuSortByTitle, "SortByTitle"},
                                                      {mnuSortByYear, "SortByYear"},
                                                      {mnuSortByLength, "SortByLength"},
                                                      {mnuSortByFilename, "SortByFilename"}};
    for (const auto& [item, k] : items) item->setChecked(false);
    for (const auto& [item, k] : items) settings_WriteValue(QStringLiteral("ListSorting"), QString::fromLatin1(k), QStringLiteral("0"));
    rows().setSortKey(sortColumn);
    menu->setChecked(true);
    settings_WriteValue(QStringLiteral("ListSorting"), key, QStringLiteral("1"));
    writeLog(QStringLiteral("Sort mode set to:  ") + key.mid(6) + u'.');
    controls_RenumberItems(rows());
}
