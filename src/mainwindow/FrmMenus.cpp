#include "mainwindow/FrmMenus.h"

#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "extras/FrmMini.h"
#include "platform/ProgramFolder.h"
#include "player/FrmMain.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QStyle>
#include <QMenu>

namespace {
FrmMain& mainWindow() { return forms().get<FrmMain>(); }
} // namespace

QAction* FrmMenus::item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QMenu* FrmMenus::submenu(QMenu* menu, const char* name, const QString& caption)
{
    QMenu* m = menu->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

MenuArray* FrmMenus::array(QMenu* menu, const char* name, const QString& caption, bool checkable)
{
    QAction* zero = item(menu, name, caption);
    zero->setCheckable(checkable);
    auto* a = new MenuArray(this);
    a->setObjectName(QString::fromLatin1(name));
    a->attach(zero);
    return a;
}

FrmMenus::FrmMenus()
{
    setObjectName(QStringLiteral("FrmMenus"));
    // The tray picture while muted.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("audio-volume-muted"), style()->standardIcon(QStyle::SP_MediaVolumeMuted)));

    // Commands of the main window run from here exactly as from its own menus; those whose
    // main-window item has no command yet go through that item.
    auto forward = [this](QAction* a, void (FrmMain::*handler)()) {
        connect(a, &QAction::triggered, this, [handler] { (mainWindow().*handler)(); });
    };
    auto through = [this](QAction* a, QAction* FrmMain::*target) {
        connect(a, &QAction::triggered, this, [target] { (mainWindow().*target)->trigger(); });
    };

    mnuSystemTray = new QMenu(QStringLiteral("SystemTray"), this);
    mnuSystemTray->setObjectName(QStringLiteral("mnuSystemTray"));
    mnuAbout = item(mnuSystemTray, "mnuAbout", QStringLiteral("A&bout VELTRA..."));
    mnuAboutWindows = item(mnuSystemTray, "mnuAboutWindows", QStringLiteral("About &Windows..."));
    mnuSystemTray->addSeparator();
    mnuPrevious = item(mnuSystemTray, "mnuPrevious", QStringLiteral("Pre&vious"));
    mnuSystemTray->addSeparator();
    mnuRewind = item(mnuSystemTray, "mnuRewind", QStringLiteral("&Rewind"));
    mnuPlay = item(mnuSystemTray, "mnuPlay", QStringLiteral("&Play"));
    mnuPause = item(mnuSystemTray, "mnuPause", QStringLiteral("Pa&use"));
    mnuStop = item(mnuSystemTray, "mnuStop", QStringLiteral("&Stop"));
    mnuRandom = item(mnuSystemTray, "mnuRandom", QStringLiteral("Rando&m"));
    mnuFastForward = item(mnuSystemTray, "mnuFastForward", QStringLiteral("&Fast Forward"));
    mnuSystemTray->addSeparator();
    mnuNextTrack = item(mnuSystemTray, "mnuNextTrack", QStringLiteral("&Next"));
    mnuNextTrackAdvanced = item(mnuSystemTray, "mnuNextTrackAdvanced", QStringLiteral("Next (&Advanced)"));
    mnuSystemTray->addSeparator();
    mnuOpen = item(mnuSystemTray, "mnuOpen", QStringLiteral("&Open"));
    mnuSystemTray->setDefaultAction(mnuOpen);
    mnuSystemTray->addSeparator();
    mnuVolume = item(mnuSystemTray, "mnuVolume", QStringLiteral("Volume..."));
    mnuSystemTray->addSeparator();
    mnuExit = item(mnuSystemTray, "mnuExit", QStringLiteral("E&xit"));
    through(mnuAbout, &FrmMain::mnuAbout);
    through(mnuAboutWindows, &FrmMain::mnuAboutWindows);
    forward(mnuPrevious, &FrmMain::mnuPrevious_Click);
    forward(mnuRewind, &FrmMain::mnuRewind_Click);
    forward(mnuPlay, &FrmMain::mnuPlay_Click);
    forward(mnuPause, &FrmMain::mnuPause_Click);
    forward(mnuStop, &FrmMain::mnuStop_Click);
    forward(mnuRandom, &FrmMain::mnuRandom_Click);
    forward(mnuFastForward, &FrmMain::mnuFastForward_Click);
    forward(mnuNextTrack, &FrmMain::mnuNextTrack_Click);
    forward(mnuNextTrackAdvanced, &FrmMain::mnuNextTrackAdvanced_Click);
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
    through(mnuExit, &FrmMain::mnuExit);

    mnuRightMenu = new QMenu(QStringLiteral("RightMenu"), this);
    mnuRightMenu->setObjectName(QStringLiteral("mnuRightMenu"));
    mnuPlay2 = item(mnuRightMenu, "mnuPlay2", QStringLiteral("&Play"));
    mnuRightMenu->setDefaultAction(mnuPlay2);
    mnuPlayNext = item(mnuRightMenu, "mnuPlayNext", QStringLiteral("Play Ne&xt..."));
    mnuRightMenu->addSeparator();
    mnuRefresh = item(mnuRightMenu, "mnuRefresh", QStringLiteral("&Refresh"));
    mnuRightMenu->addSeparator();
    mnuFind = submenu(mnuRightMenu, "mnuFind", QStringLiteral("&Find:"));
    mnuMoreOnThisArtist = item(mnuFind, "mnuMoreOnThisArtist", QStringLiteral("More On This:  &Artist..."));
    mnuMoreOnThisYear = item(mnuFind, "mnuMoreOnThisYear", QStringLiteral("More On This:  &Year..."));
    mnuFind->addSeparator();
    mnuJumpToMedia = item(mnuFind, "mnuJumpToMedia", QStringLiteral("&Jump To Media..."));
    mnuQueue = submenu(mnuRightMenu, "mnuQueue", QStringLiteral("&Queue:"));
    mnuPlaySong = item(mnuQueue, "mnuPlaySong", QStringLiteral("&Play"));
    mnuPlayOnce = item(mnuQueue, "mnuPlayOnce", QStringLiteral("P&lay Once"));
    mnuSkip = item(mnuQueue, "mnuSkip", QStringLiteral("&Skip"));
    mnuSkipOnce = item(mnuQueue, "mnuSkipOnce", QStringLiteral("S&kip Once"));
    mnuRemove = item(mnuQueue, "mnuRemove", QStringLiteral("&Remove"));
    for (QAction* a : {mnuPlaySong, mnuPlayOnce, mnuSkip, mnuSkipOnce, mnuRemove}) a->setCheckable(true);
    mnuQueue->addSeparator();
    mnuPlayAll = item(mnuQueue, "mnuPlayAll", QStringLiteral("Play &All..."));
    mnuSkipAll = item(mnuQueue, "mnuSkipAll", QStringLiteral("Sk&ip All..."));
    mnuQueue->addSeparator();
    mnuAdvanced = item(mnuQueue, "mnuAdvanced", QStringLiteral("A&dvanced..."));
    mnuOptions = submenu(mnuRightMenu, "mnuOptions", QStringLiteral("&Options:"));
    mnuRemoveSelected = item(mnuOptions, "mnuRemoveSelected", QStringLiteral("Selected:  &Remove..."));
    mnuSelectedCopyTAG = item(mnuOptions, "mnuSelectedCopyTAG", QStringLiteral("Selected:  &Copy TAG(s)..."));
    mnuRenameFilename = item(mnuOptions, "mnuRenameFilename", QStringLiteral("Selected:  Re&name Filename..."));
    mnuOptions->addSeparator();
    mnuSelectPlaying = item(mnuOptions, "mnuSelectPlaying", QStringLiteral("&Select Playing..."));
    mnuSendTo = submenu(mnuRightMenu, "mnuSendTo", QStringLiteral("S&end To:"));
    mnuPlaylist = submenu(mnuSendTo, "mnuPlaylist", QStringLiteral("&Playlist:"));
    mnuUpdate = item(mnuPlaylist, "mnuUpdate", QStringLiteral("&Update..."));
    mnuPlaylist->addSeparator();
    mnuItem = array(mnuPlaylist, "mnuItem", QStringLiteral("[None]"), false);
    mnuMode = submenu(mnuSendTo, "mnuMode", QStringLiteral("&Mood:"));
    mnuEditMoods = item(mnuMode, "mnuEditMoods", QStringLiteral("&Edit Moods..."));
    mnuMode->addSeparator();
    mnuSendToMood = array(mnuMode, "mnuSendToMood", QStringLiteral("[Mood]"), false);
    mnuMode->addSeparator();
    mnuResetMoods = item(mnuMode, "mnuResetMoods", QStringLiteral("&Reset Moods..."));
    mnuSendToDrive = submenu(mnuSendTo, "mnuSendToDrive", QStringLiteral("&Drive:"));
    mnuUpdateDrives = item(mnuSendToDrive, "mnuUpdateDrives", QStringLiteral("&Update..."));
    mnuSendToDrive->addSeparator();
    mnuDriveLetter = array(mnuSendToDrive, "mnuDriveLetter", QStringLiteral("[None]"), false);
    mnuSendTo->addSeparator();
    mnuBookmarks = item(mnuSendTo, "mnuBookmarks", QStringLiteral("&Bookmarks..."));
    mnuRightMenu->addSeparator();
    mnuStoreVolume = item(mnuRightMenu, "mnuStoreVolume", QStringLiteral("Store &Volume..."));
    mnuRightMenu->addSeparator();
    mnuProperties = item(mnuRightMenu, "mnuProperties", QStringLiteral("&Properties..."));

    forward(mnuPlay2, &FrmMain::mnuPlay_Click);
    forward(mnuPlayNext, &FrmMain::mnuPlayNext_Click);
    connect(mnuRefresh, &QAction::triggered, this, [] { mainWindow().playlist_ShowMP3Data(false); });
    through(mnuJumpToMedia, &FrmMain::mnuJumpToMedia);
    const std::pair<QAction*, const char*> statuses[] = {
        {mnuPlaySong, "Play"}, {mnuPlayOnce, "Play Once"}, {mnuSkip, "Skip"}, {mnuSkipOnce, "Skip Once"}, {mnuRemove, "Remove"},
    };
    for (const auto& [a, status] : statuses) {
        const QString text = QString::fromLatin1(status);
        // The check marks follow the selected row (window update timer), not the click.
        connect(a, &QAction::triggered, this, [this, a = a, text] {
            a->setChecked(!a->isChecked());
            menus_SetSelectedPlayMode(text);
        });
    }
    connect(mnuPlayAll, &QAction::triggered, this, [this] { menus_SetAllPlayMode(QStringLiteral("Play")); });
    connect(mnuSkipAll, &QAction::triggered, this, [this] { menus_SetAllPlayMode(QStringLiteral("Skip")); });
    forward(mnuRemoveSelected, &FrmMain::mnuRemoveSelected_Click);
    connect(mnuSelectedCopyTAG, &QAction::triggered, this, [this] { mnuSelectedCopyTAG_Click(); });
    through(mnuRenameFilename, &FrmMain::mnuSelectedRenameFilename);
    forward(mnuSelectPlaying, &FrmMain::mnuJumpToCurrentlyPlaying_Click);
    connect(mnuUpdate, &QAction::triggered, this, [this] { mnuUpdate_Click(); });
    through(mnuResetMoods, &FrmMain::mnuResetMoods);
    through(mnuBookmarks, &FrmMain::mnuAddSelected);
    forward(mnuStoreVolume, &FrmMain::mnuStoreVolume_Click);
    through(mnuProperties, &FrmMain::mnuProperties);
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
    QGuiApplication::clipboard()->setText(lines.join(QStringLiteral("\r\n")));
}

void FrmMenus::mnuUpdate_Click()
{
    mnuItem->unloadAbove(0);
    const QStringList names = files::listFolder(programfolder::file(QStringLiteral("Playlists")), QStringLiteral("spp"));
    int n = 0;
    for (const QString& file : names) {
        const QString name = files_GetNameWithoutExtension(file);
        if (name.toLower() == QLatin1String("default")) continue;
        QAction* a = mnuItem->load(++n);
        a->setText(name);
        a->setVisible(true);
        a->setEnabled(true);
    }
    QAction* zero = mnuItem->at(0);
    zero->setText(QStringLiteral("[None]"));
    zero->setVisible(n == 0);
    zero->setEnabled(n != 0);
}

void FrmMenus::mnuOpen_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    const bool mini = main.mnuSwitchToMiniMode->isChecked();
    QWidget* front = &main;
    if (mini) {
        FrmMini& window = forms().get<FrmMini>();
        window.setWindowState(window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        window.show();
        front = &window;
    } else {
        Qt::WindowStates state = main.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (main.WasMaximized) state |= Qt::WindowMaximized;
        main.setWindowState(state);
        main.show();
    }
    if (forms().isLoaded<FrmVideo>()) {
        FrmVideo& video = forms().get<FrmVideo>();
        const Qt::WindowStates normal = video.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (video.VideoIsOpen) {
            video.setWindowState(normal);
            video.show();
        }
        video.setWindowState(normal);
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
