#include "startup/modStartSettings.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "extras/FrmTracking.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"

#include <QAction>
#include <QStatusBar>

#include <algorithm>

namespace {
bool isOne(const char* section, const char* key, const char* def)
{
    return settings_ReadFlag(QString::fromLatin1(section), QString::fromLatin1(key), QString::fromLatin1(def));
}

void checkFrom(QAction* item, const char* section, const char* key, const char* def) { item->setChecked(isOne(section, key, def)); }
} // namespace

void window_ApplyStartSettings()
{
    FrmMain& m = forms().get<FrmMain>();

    if (isOne("Settings", "LockPlaylist", "0")) m.mnuLockPlaylist_Click();
    checkFrom(m.mnuTagsUseID3v2Tags, "Settings", "UseID3v2Tags", "0");
    checkFrom(m.mnuWindowsShowLyricsWhenAvailable, "Settings", "ShowLyricsWhenAvailable", "0");
    checkFrom(m.mnuWindowsDisableGlobalHotkeys, "Settings", "DisableGlobalHotkeys", "0");
    checkFrom(m.mnuMessengerShowSongsBeingPlayed, "Settings", "MessengerShowSongsBeingPlayed", "0");

    if (isOne("Settings", "TagsShowTagsAsFilesAreAdded", "1")) {
        m.mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
        m.mnuTagsShowTagsAsFilesArePlayed->setChecked(false);
    } else if (isOne("Settings", "TagsShowTagsAsFilesArePlayed", "0")) {
        m.mnuTagsShowTagsAsFilesAreAdded->setChecked(false);
        m.mnuTagsShowTagsAsFilesArePlayed->setChecked(true);
    }
    if (isOne("Settings", "KeysUseAsArtistFindingKeys", "0")) {
        m.mnuKeysUseAsArtistFindingKeys->setChecked(true);
        m.mnuKeysUseAsShortcuts->setChecked(false);
    } else if (isOne("Settings", "KeysUseAsShortcuts", "1")) {
        m.mnuKeysUseAsArtistFindingKeys->setChecked(false);
        m.mnuKeysUseAsShortcuts->setChecked(true);
    }

    const std::pair<const char*, void (FrmMain::*)()> playback[] = {
        {"PlayingShuffleByArtist", &FrmMain::mnuPlayingShuffleByArtist_Click},
        {"PlayingShuffleByAlbum", &FrmMain::mnuPlayingShuffleByAlbum_Click},
        {"PlayingShuffleByYear", &FrmMain::mnuPlayingShuffleByYear_Click},
        {"PlayingIntroduction", &FrmMain::mnuPlayingIntroduction_Click},
        {"PlayingRepeat", &FrmMain::mnuPlayingRepeat_Click},
        {"PlayingRepeatOnce", &FrmMain::mnuPlayingRepeatOnce_Click},
        {"PlayingStopAfterEnding", &FrmMain::mnuPlayingStopAfterEnding_Click},
        {"PlayingPickRandomSongs", &FrmMain::mnuPlayingPickRandomSongs_Click},
        {"PlayingGoThroughPlaylistNormally", &FrmMain::mnuPlayingGoThroughPlaylistNormally_Click},
    };
    for (const auto& [key, handler] : playback) {
        if (isOne("Playback", key, qstrcmp(key, "PlayingGoThroughPlaylistNormally") == 0 ? "1" : "0")) {
            (m.*handler)();
            break;
        }
    }

    // The end-of-list mode and the direction are set as they are, without writing them back.
    using veltra::EndOfListMode;
    const std::pair<const char*, EndOfListMode> endOfList[] = {
        {"PlaylistRepeat", EndOfListMode::Repeat},
        {"PlaylistRepeatOnce", EndOfListMode::RepeatOnce},
        {"PlaylistStopAfterEnding", EndOfListMode::StopAfterEnding},
        {"PlaylistPickRandomAfterEnding", EndOfListMode::PickRandomAfterEnding},
        {"PlaylistSwitchToNext", EndOfListMode::SwitchToNext},
    };
    for (const auto& [key, mode] : endOfList) {
        if (isOne("Playback", key, qstrcmp(key, "PlaylistStopAfterEnding") == 0 ? "1" : "0")) {
            m.sequence().setEndOfListMode(mode);
            break;
        }
    }

    if (isOne("PlayMode", "WorkForwardThroughList", "1")) m.sequence().setDirection(veltra::PlayDirection::Forward);
    else if (isOne("PlayMode", "WorkBackwardsThroughPlaylist", "0")) m.sequence().setDirection(veltra::PlayDirection::Backward);

    if (isOne("Settings", "ShowTimeElapsed", "1")) m.mnuStatusBarShowTimeElapsed->setChecked(true);
    else if (isOne("Settings", "ShowTimeRemaining", "0")) m.mnuStatusBarShowTimeRemaining->setChecked(true);

    const bool onTop = isOne("Settings", "AlwaysOnTop", "0");
    m.mnuAlwaysOnTop->setChecked(onTop);
    windows_SetAlwaysOnTop(&m, onTop);

    const bool hideTask = isOne("Settings", "HideInTheTaskManager", "0");
    m.mnuHideInTheTaskManager->setChecked(hideTask);
    windows_SetTaskbarVisible(&m, !hideTask);   // asked of the desktop once the window is shown

    m.window_ShowToolbar(isOne("Settings", "ShowToolbar", "1"));

    const bool statusBar = isOne("Settings", "ShowStatusBar", "1");
    m.mnuShowStatusBar->setChecked(statusBar);
    m.sbStatusBar->setVisible(statusBar);

    const bool headers = isOne("Settings", "ShowPlaylistHeaders", "0");
    m.mnuShowPlaylistHeaders->setChecked(headers);
    m.lstvPlaylist->setHideColumnHeaders(!headers);

    checkFrom(m.mnuShowFilenamesColumn, "Settings", "ShowFilenamesColumn", "1");
    checkFrom(m.mnuWindowsShowEachSongAsItsPlayed, "Settings", "ShowCurrentSongAlerts", "1");

    FrmTracking& tracking = forms().get<FrmTracking>();
    const bool trackingHeaders = isOne("Settings", "ShowTrackingHeaders", "0");
    tracking.mnuShowHeaders->setChecked(trackingHeaders);
    tracking.lstvItems->setHideColumnHeaders(!trackingHeaders);
    FrmAdjustVolumes& volumes = forms().get<FrmAdjustVolumes>();
    const bool volumeHeaders = isOne("Settings", "ShowAdjustVolumesHeaders", "0");
    volumes.mnuShowHeaders->setChecked(volumeHeaders);
    volumes.lstvItems->setHideColumnHeaders(!volumeHeaders);

    if (m.rows().count() >= 1) {
        // A row far beyond the list (a hand edit) is simply beyond it: counting on from there
        // must not run past the largest number.
        const int n = std::clamp(vb::CInt(vb::Val(settings_ReadValue(QStringLiteral("Playback"), QStringLiteral("LastPlayed"), QStringLiteral("1")))),
                                 0, m.rows().count() + 1);
        controls_SelectItem(m.rows(), n);
        m.CurrentTrack = n;
    }

    const std::pair<const char*, void (FrmMain::*)()> sortKeys[] = {
        {"SortByArtist", &FrmMain::mnuSortByArtist_Click}, {"SortByTitle", &FrmMain::mnuSortByTitle_Click},
        {"SortByYear", &FrmMain::mnuSortByYear_Click},     {"SortByLength", &FrmMain::mnuSortByLength_Click},
        {"SortByFilename", &FrmMain::mnuSortByFilename_Click},
    };
    for (const auto& [key, handler] : sortKeys) {
        if (isOne("ListSorting", key, qstrcmp(key, "SortByFilename") == 0 ? "1" : "0")) {
            (m.*handler)();
            break;
        }
    }
    if (isOne("ListSorting", "SortViaAscendingOrder", "0")) m.mnuSortViaAcending_Click();
    else if (isOne("ListSorting", "SortViaDescendingOrder", "0")) m.mnuSortViaDecending_Click();
    else if (isOne("ListSorting", "DoNotSortTheList", "1")) m.mnuDontSort_Click();
}
