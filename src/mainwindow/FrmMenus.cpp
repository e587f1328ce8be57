#include "mainwindow/FrmMenus.h"

#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/MenuTable.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modPlaylistFiles.h"
#include "extras/FrmCDPlayer.h"
#include "extras/FrmMini.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMain.h"
#include "platform/WindowPlace.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QStyle>
#include <QMenu>

namespace {
FrmMain& mainWindow() { return forms().get<FrmMain>(); }

using Command = std::function<void(FrmMenus&)>;

// The main window's command of the same meaning, exactly as from its own menus.
Command runs(void (FrmMain::*handler)())
{
    return [handler](FrmMenus&) { (mainWindow().*handler)(); };
}
// A play status into the selected rows, or into every row.
Command setsSelected(RowStatus status)
{
    return [status](FrmMenus& menus) { menus.menus_SetSelectedPlayMode(rowStatusText(status)); };
}
Command setsAll(RowStatus status)
{
    return [status](FrmMenus& menus) { menus.menus_SetAllPlayMode(rowStatusText(status)); };
}
} // namespace

FrmMenus::FrmMenus()
{
    setObjectName(QStringLiteral("FrmMenus"));
    // The tray picture while muted.
    setWindowIcon(controls_ThemeIcon("audio-volume-muted", QStyle::SP_MediaVolumeMuted));

    // The pop-up menus in display order: depth, member, name, caption, shortcut, check mark,
    // command. The Queue items' check marks follow the selected row (window update timer).
    static const MenuRow<FrmMenus> rows[] = {
        {0, &FrmMenus::mnuSystemTray, "mnuSystemTray", "SystemTray"},
        {1, &FrmMenus::mnuAbout, "mnuAbout", "A&bout VELTRA...", "", false, runs(&FrmMain::mnuAbout_Click)},
        {1, &FrmMenus::mnuAboutWindows, "mnuAboutWindows", "About &Windows...", "", false, runs(&FrmMain::mnuAboutWindows_Click)},
        {1},
        {1, &FrmMenus::mnuPrevious, "mnuPrevious", "Pre&vious", "", false, runs(&FrmMain::mnuPrevious_Click)},
        {1},
        {1, &FrmMenus::mnuRewind, "mnuRewind", "&Rewind", "", false, runs(&FrmMain::mnuRewind_Click)},
        {1, &FrmMenus::mnuPlay, "mnuPlay", "&Play", "", false, runs(&FrmMain::mnuPlay_Click)},
        {1, &FrmMenus::mnuPause, "mnuPause", "Pa&use", "", false, runs(&FrmMain::mnuPause_Click)},
        {1, &FrmMenus::mnuStop, "mnuStop", "&Stop", "", false, runs(&FrmMain::mnuStop_Click)},
        {1, &FrmMenus::mnuRandom, "mnuRandom", "Rando&m", "", false, runs(&FrmMain::mnuRandom_Click)},
        {1, &FrmMenus::mnuFastForward, "mnuFastForward", "&Fast Forward", "", false, runs(&FrmMain::mnuFastForward_Click)},
        {1},
        {1, &FrmMenus::mnuNextTrack, "mnuNextTrack", "&Next", "", false, runs(&FrmMain::mnuNextTrack_Click)},
        {1, &FrmMenus::mnuNextTrackAdvanced, "mnuNextTrackAdvanced", "Next (&Advanced)", "", false, runs(&FrmMain::mnuNextTrackAdvanced_Click)},
        {1},
        {1, &FrmMenus::mnuOpen, "mnuOpen", "&Open", "", false, &FrmMenus::mnuOpen_Click},
        {1},
        {1, &FrmMenus::mnuVolume, "mnuVolume", "Volume...", "", false, &FrmMenus::mnuVolume_Click},
        {1},
        {1, &FrmMenus::mnuExit, "mnuExit", "E&xit", "", false, runs(&FrmMain::mnuExit_Click)},

        {0, &FrmMenus::mnuRightMenu, "mnuRightMenu", "RightMenu"},
        {1, &FrmMenus::mnuPlay2, "mnuPlay2", "&Play", "", false, runs(&FrmMain::mnuPlay_Click)},
        {1, &FrmMenus::mnuPlayNext, "mnuPlayNext", "Play Ne&xt...", "", false, runs(&FrmMain::mnuPlayNext_Click)},
        {1},
        {1, &FrmMenus::mnuRefresh, "mnuRefresh", "&Refresh", "", false, [](FrmMenus&) { mainWindow().playlist_ShowMP3Data(false); }},
        {1},
        {1, &FrmMenus::mnuFind, "mnuFind", "&Find:"},
        {2, &FrmMenus::mnuMoreOnThisArtist, "mnuMoreOnThisArtist", "More On This:  &Artist...", "", false, &FrmMenus::mnuMoreOnThisArtist_Click},
        {2, &FrmMenus::mnuMoreOnThisYear, "mnuMoreOnThisYear", "More On This:  &Year...", "", false, &FrmMenus::mnuMoreOnThisYear_Click},
        {2},
        {2, &FrmMenus::mnuJumpToMedia, "mnuJumpToMedia", "&Jump To Media...", "", false, runs(&FrmMain::mnuJumpToMedia_Click)},
        {1, &FrmMenus::mnuQueue, "mnuQueue", "&Queue:"},
        {2, &FrmMenus::mnuPlaySong, "mnuPlaySong", "&Play", "", true, setsSelected(RowStatus::Play)},
        {2, &FrmMenus::mnuPlayOnce, "mnuPlayOnce", "P&lay Once", "", true, setsSelected(RowStatus::PlayOnce)},
        {2, &FrmMenus::mnuSkip, "mnuSkip", "&Skip", "", true, setsSelected(RowStatus::Skip)},
        {2, &FrmMenus::mnuSkipOnce, "mnuSkipOnce", "S&kip Once", "", true, setsSelected(RowStatus::SkipOnce)},
        {2, &FrmMenus::mnuRemove, "mnuRemove", "&Remove", "", true, setsSelected(RowStatus::Remove)},
        {2},
        {2, &FrmMenus::mnuPlayAll, "mnuPlayAll", "Play &All...", "", false, setsAll(RowStatus::Play)},
        {2, &FrmMenus::mnuSkipAll, "mnuSkipAll", "Sk&ip All...", "", false, setsAll(RowStatus::Skip)},
        {2},
        {2, &FrmMenus::mnuAdvanced, "mnuAdvanced", "A&dvanced...", "", false, &FrmMenus::mnuAdvanced_Click},
        {1, &FrmMenus::mnuOptions, "mnuOptions", "&Options:"},
        {2, &FrmMenus::mnuRemoveSelected, "mnuRemoveSelected", "Selected:  &Remove...", "", false, runs(&FrmMain::mnuRemoveSelected_Click)},
        {2, &FrmMenus::mnuSelectedCopyTAG, "mnuSelectedCopyTAG", "Selected:  &Copy TAG(s)...", "", false, &FrmMenus::mnuSelectedCopyTAG_Click},
        {2, &FrmMenus::mnuRenameFilename, "mnuRenameFilename", "Selected:  Re&name Filename...", "", false, runs(&FrmMain::mnuSelectedRenameFilename_Click)},
        {2},
        {2, &FrmMenus::mnuSelectPlaying, "mnuSelectPlaying", "&Select Playing...", "", false, runs(&FrmMain::mnuJumpToCurrentlyPlaying_Click)},
        {1, &FrmMenus::mnuSendTo, "mnuSendTo", "S&end To:"},
        {2, &FrmMenus::mnuPlaylist, "mnuPlaylist", "&Playlist:"},
        {3, &FrmMenus::mnuUpdate, "mnuUpdate", "&Update...", "", false, &FrmMenus::mnuUpdate_Click},
        {3},
        {3, &FrmMenus::mnuItem, "mnuItem", "[None]"},
        {2, &FrmMenus::mnuMode, "mnuMode", "&Mood:"},
        {3, &FrmMenus::mnuEditMoods, "mnuEditMoods", "&Edit Moods...", "", false, runs(&FrmMain::mnuEditMoods_Click)},
        {3},
        {3, &FrmMenus::mnuSendToMood, "mnuSendToMood", "[Mood]"},
        {3},
        {3, &FrmMenus::mnuResetMoods, "mnuResetMoods", "&Reset Moods...", "", false, runs(&FrmMain::mnuResetMoods_Click)},
        {2, &FrmMenus::mnuSendToDrive, "mnuSendToDrive", "&Drive:"},
        {3, &FrmMenus::mnuUpdateDrives, "mnuUpdateDrives", "&Update...", "", false, &FrmMenus::mnuUpdateDrives_Click},
        {3},
        {3, &FrmMenus::mnuDriveLetter, "mnuDriveLetter", "[None]"},
        {2},
        {2, &FrmMenus::mnuBookmarks, "mnuBookmarks", "&Bookmarks...", "", false, runs(&FrmMain::mnuAddSelected_Click)},
        {1},
        {1, &FrmMenus::mnuStoreVolume, "mnuStoreVolume", "Store &Volume...", "", false, runs(&FrmMain::mnuStoreVolume_Click)},
        {1},
        {1, &FrmMenus::mnuProperties, "mnuProperties", "&Properties...", "", false, runs(&FrmMain::mnuProperties_Click)},

        {0, &FrmMenus::mnuSystemMenu, "mnuSystemMenu", "SystemMenu"},
        {1, &FrmMenus::mnuWindow, "mnuWindow", "&Window:"},
        {2, &FrmMenus::mnuCustomise, "mnuCustomise", "&Customise...", "", false, &FrmMenus::mnuCustomise_Click},
        {2},
        {2, &FrmMenus::mnuLockPosition, "mnuLockPosition", "&Lock Position...", "", true, &FrmMenus::mnuLockPosition_Click},
        {2, &FrmMenus::mnuAlwaysOnTop, "mnuAlwaysOnTop", "&Always On Top...", "", true, &FrmMenus::mnuAlwaysOnTop_Click},
        {2},
        {2, &FrmMenus::mnuReturnToFullMode, "mnuReturnToFullMode", "Return To &Full Mode...", "", false, &FrmMenus::mnuReturnToFullMode_Click},
        {1},
        {1, &FrmMenus::mnuMinimize, "mnuMinimize", "&Minimize", "", false, &FrmMenus::mnuMinimize_Click},
    };
    buildMenus(*this, rows, [this](const QString& caption) { return new QMenu(caption, this); });
    mnuSystemTray->setDefaultAction(mnuOpen);
    mnuRightMenu->setDefaultAction(mnuPlay2);
    mnuSystemMenu->setDefaultAction(mnuMinimize);
    connectSendTo();
    window_SetMenuImages();
}

void FrmMenus::menus_SetSelectedPlayMode(const QString& status)
{
    ListViewModel& list = mainWindow().rows();
    for (int row = 1; row <= list.count(); ++row)
        if (list.isSelected(row)) list.setSubItem(row, PlaylistColumn::Status, status);
}

void FrmMenus::menus_SetAllPlayMode(const QString& status)
{
    ListViewModel& list = mainWindow().rows();
    for (int row = 1; row <= list.count(); ++row) list.setSubItem(row, PlaylistColumn::Status, status);
}

void FrmMenus::mnuSelectedCopyTAG_Click()
{
    ListViewModel& list = mainWindow().rows();
    QStringList lines;
    for (int row = 1; row <= list.count(); ++row)
        if (list.isSelected(row)) lines.append(list.subItem(row, PlaylistColumn::Artist) + QStringLiteral(" - ") + list.subItem(row, PlaylistColumn::Title));
    if (lines.isEmpty()) return;   // nothing selected: the clipboard keeps what it holds
    QGuiApplication::clipboard()->setText(lines.join(u'\n'));
}

void FrmMenus::mnuUpdate_Click()
{
    // The playlist box and the Send To items afresh from the folder; the playlist shown stays
    // shown while its file is there.
    FrmMain& main = mainWindow();
    main.playlist_RefillBox(playlists::fileOf(main.cmbPlaylists->currentText()));
}

void FrmMenus::mnuOpen_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    const bool mini = main.mnuSwitchToMiniMode->isChecked();
    QWidget* front = &main;
    // Each window comes back as the program kept it, not as the window system says of a window
    // it did not show.
    if (mini) {
        FrmMini& window = forms().get<FrmMini>();
        windowplace::bringBack(&window, Qt::WindowNoState);
        front = &window;
    } else {
        windowplace::bringBack(&main, main.WasMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    }
    if (main.mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>()) {
        FrmMediaLibrary& library = forms().get<FrmMediaLibrary>();
        windowplace::bringBack(&library, windowplace::keptState(&library) & ~Qt::WindowMinimized);
    }
    if (forms().isLoaded<FrmVideo>()) {
        // Only a video that is open comes back, in the normal state at its normal size; one
        // that is not takes the normal state at its next showing.
        FrmVideo& video = forms().get<FrmVideo>();
        if (video.VideoIsOpen) windowplace::bringBack(&video, Qt::WindowNoState);
        else windowplace::setKeptState(&video, Qt::WindowNoState);
    }
    if (main.mnuOpenCDPlayer->isChecked() && forms().isLoaded<FrmCDPlayer>()) {
        FrmCDPlayer& cd = forms().get<FrmCDPlayer>();
        // A disc playing or paused keeps its player in front, in its normal state.
        const bool inFront = cd.CDState == 0 || cd.CDState == 2;
        windowplace::bringBack(&cd, inFront ? Qt::WindowNoState : windowplace::keptState(&cd) & ~Qt::WindowMinimized);
        if (inFront) {
            cd.raise();
            cd.activateWindow();
            main.WindowShown = true;
            return;
        }
    }
    front->show();
    front->raise();
    front->activateWindow();
    main.WindowShown = true;
}

QLabel* FrmMenus::hiddenLabel(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->hide();
    return label;
}
