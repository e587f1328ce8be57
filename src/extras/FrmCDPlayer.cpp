#include "extras/FrmCDPlayer.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modMath.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "extras/FrmTracking.h"
#include "media/modMedia.h"
#include "platform/WebPages.h"
#include "platform/WindowPlace.h"
#include "platform/modCDAudio.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"
#include "preferences/FrmPreferences.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>

namespace {
const QString kSettings = QStringLiteral("CDSettings");
const QString kColumns = QStringLiteral("ColumnHeaders_CDPlayer");
constexpr quint32 kPlayingColour = 0xC0;   // dark red, 0x00BBGGRR

// A band the user can neither move nor float.
QToolBar* fixedBar(const char* name, QWidget* parent)
{
    auto* bar = new QToolBar(QString::fromLatin1(name), parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    return bar;
}


void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

} // namespace

// ---- loading --------------------------------------------------------------------------------------

FrmCDPlayer::FrmCDPlayer()
{
    setObjectName(QStringLiteral("FrmCDPlayer"));
    setWindowTitle(QStringLiteral("CD Player"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(480, 360);
    createMenuBar();
    createControls();
    connectCommands();
    Form_Load();
    windowplace::followPlace(this);   // its normal size survives the tray while maximised
}

FrmCDPlayer::~FrmCDPlayer()
{
    tmrWindowUpdate->stop();
    tmrMenuText->stop();
}

namespace {
// The menu bar, one row per entry in its place (positions count separators); a row without
// a member is a separator. The help text is shown in status panel 1 while the item is
// highlighted.
struct MenuRow {
    int menu;   // 0 File, 1 Playback, 2 Window, 3 Help
    QAction* FrmCDPlayer::*member;
    const char* name;
    const char* caption;
    QKeyCombination shortcut;
    bool checkable;
    void (FrmCDPlayer::*handler)();
    const char* help;
};

using F = FrmCDPlayer;
const MenuRow kMenuRows[] = {
    {0, &F::mnuNew, "mnuNew", "New...\tCtrl+N", Qt::CTRL | Qt::Key_N, false, &F::mnuNew_Click,
     "Scan the CD drives available and search for an Audio CD."},
    {0, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {0, &F::mnuPreferences, "mnuPreferences", "&Preferences...\tCtrl+P", Qt::CTRL | Qt::Key_P, false, &F::mnuPreferences_Click,
     "Show the preferences available in VELTRA."},
    {0, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {0, &F::mnuClose, "mnuClose", "&Close", {}, false, &F::mnuClose_Click, "Close this window (return to the main window)."},
    {1, &F::mnuPrevious, "mnuPrevious", "Pre&vious", {}, false, &F::mnuPrevious_Click, "Select the previous song in the playlist."},
    {1, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {1, &F::mnuPlay, "mnuPlay", "&Play", {}, false, &F::mnuPlay_Click, "Play the song selected in the playlist."},
    {1, &F::mnuPause, "mnuPause", "Pa&use", {}, false, &F::mnuPause_Click, "Pause the currently playlist song."},
    {1, &F::mnuStop, "mnuStop", "&Stop", {}, false, &F::mnuStop_Click, "Stop the song currently playing."},
    {1, &F::mnuRandom, "mnuRandom", "Rando&m", {}, false, &F::mnuRandom_Click, "Select a random song from the playlist and play it."},
    {1, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {1, &F::mnuNext, "mnuNext", "&Next", {}, false, &F::mnuNext_Click, "Go onto the next song in the playlist."},
    {1, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {1, &F::mnuEject, "mnuEject", "E&ject CD", {}, false, &F::mnuEject_Click, "Eject the Audio CD in the drive being used."},
    {2, &F::mnuAlwaysOnTop, "mnuAlwaysOnTop", "&Always On Top...", {}, true, &F::mnuAlwaysOnTop_Click,
     "Make this window stay on top of all other open windows/programs."},
    {2, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {2, &F::mnuShowTimeElapsed, "mnuShowTimeElapsed", "Show Time &Elapsed...", {}, true, &F::mnuShowTimeElapsed_Click,
     "Show the time of the song as:  Elasped."},
    {2, &F::mnuShowTimeRemaining, "mnuShowTimeRemaining", "Show &Time Remaining...", {}, true, &F::mnuShowTimeRemaining_Click,
     "Show the time of the song as:  Remaining."},
    {2, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {2, &F::mnuShowToolbar, "mnuShowToolbar", "Show &Toolbar...\tF1", QKeyCombination(Qt::Key_F1), true, &F::mnuShowToolbar_Click,
     "Show the toolbar (which contains all of the main buttons) on the window."},
    {2, &F::mnuShowStatusBar, "mnuShowStatusBar", "Show &Status Bar...\tF2", QKeyCombination(Qt::Key_F2), true,
     &F::mnuShowStatusBar_Click, "Show the status bar at the bottom of the window."},
    {2, &F::mnuShowPlaylistHeaders, "mnuShowPlaylistHeaders", "Show &Playlist Headers...\tF3", QKeyCombination(Qt::Key_F3), true,
     &F::mnuShowPlaylistHeaders_Click, "Show the headers for each section in the playlist on the window."},
    {2, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {2, &F::mnuReCenterWindow, "mnuReCenterWindow", "Center &Window...", {}, false, &F::mnuReCenterWindow_Click,
     "Center the CD Player within the screen."},
    {3, &F::mnuConsole, "mnuConsole", "&Console...", {}, false, &F::mnuConsole_Click, "Show all of the logs about the use of VELTRA."},
    {3, &F::mnuTracking, "mnuTracking", "&Tracking...", {}, false, &F::mnuTracking_Click,
     "Show information about all of the media files that have been played."},
    {3, &F::mnuVolumes, "mnuVolumes", "&Volumes...", {}, false, &F::mnuVolumes_Click,
     "Show the media files that have specific volume settings saved for them."},
    {3, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {3, &F::mnuForum, "mnuForum", "Quillonex &Forum...", {}, false, &F::mnuForum_Click,
     "Go to the main Quillonex Forum page, where you can post comments, read news, etc."},
    {3, &F::mnuHomepage, "mnuHomepage", "Quillonex &Homepage...", {}, false, &F::mnuHomepage_Click,
     "Go to the main Quillonex website, where you can check for updates, etc."},
    {3, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {3, &F::mnuCheckForUpdates, "mnuCheckForUpdates", "Check For &Updates...", {}, false, &F::mnuCheckForUpdates_Click,
     "Check for the lastest updates available online."},
    {3, nullptr, nullptr, nullptr, {}, false, nullptr, nullptr},
    {3, &F::mnuAboutWindows, "mnuAboutWindows", "About &Windows...", {}, false, &F::mnuAboutWindows_Click,
     "Show information about this version of Microsoft Windows."},
    {3, &F::mnuAbout, "mnuAbout", "About &VELTRA...", {}, false, &F::mnuAbout_Click, "Show information about this version of VELTRA."},
};
} // namespace

void FrmCDPlayer::createMenuBar()
{
    QMenu** menus[] = {&mnuFile, &mnuPlayback, &mnuWindow, &mnuHelp};
    const char* names[][2] = {{"mnuFile", "&File"}, {"mnuPlayback", "&Playback"}, {"mnuWindow", "&Window"}, {"mnuHelp", "&Help"}};
    for (int i = 0; i < 4; ++i) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(names[i][1]));
        m->setObjectName(QString::fromLatin1(names[i][0]));
        m->menuAction()->setObjectName(m->objectName());
        *menus[i] = m;
    }
    for (const MenuRow& row : kMenuRows) {
        QMenu* menu = *menus[row.menu];
        if (!row.member) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromLatin1(row.caption));
        a->setObjectName(QString::fromLatin1(row.name));
        a->setCheckable(row.checkable);
        a->setShortcutContext(Qt::WindowShortcut);
        if (row.shortcut != QKeyCombination()) a->setShortcut(QKeySequence(row.shortcut));
        a->setStatusTip(QString::fromLatin1(row.help));
        this->*row.member = a;
        // The handlers set the check marks themselves, not the click.
        connect(a, &QAction::triggered, this, [this, a, handler = row.handler] {
            if (a->isCheckable()) a->setChecked(!a->isChecked());
            (this->*handler)();
        });
    }
}

void FrmCDPlayer::createControls()
{
    picClient = new QWidget(this);
    picClient->setObjectName(QStringLiteral("picClient"));
    setCentralWidget(picClient);

    cbToolbar = fixedBar("cbToolbar", picClient);
    tbToolbar = fixedBar("tbToolbar", cbToolbar);
    tbToolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbToolbar->setIconSize(QSize(20, 20));
    struct Button {
        const char* key;   // nullptr: a separator
        const char* tip;
        const char* icon;
        QStyle::StandardPixmap fallback;
    };
    const Button buttons[] = {
        {"Previous", "Previous", "media-skip-backward", QStyle::SP_MediaSkipBackward},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"Play", "Play", "media-playback-start", QStyle::SP_MediaPlay},
        {"Pause", "Pause", "media-playback-pause", QStyle::SP_MediaPause},
        {"Stop", "Stop", "media-playback-stop", QStyle::SP_MediaStop},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"Random", "Pick Random", "media-playlist-shuffle", QStyle::SP_BrowserReload},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"Next", "Next", "media-skip-forward", QStyle::SP_MediaSkipForward},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"Eject", "Eject CD", "media-eject", QStyle::SP_DriveCDIcon},
    };
    for (const Button& b : buttons) {
        if (!b.key) {
            tbToolbar->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(b.key);
        QAction* a = tbToolbar->addAction(controls_ThemeIcon(b.icon, b.fallback), QString::fromLatin1(b.tip));
        a->setObjectName(QStringLiteral("tb") + key);
        a->setData(key);
        a->setToolTip(QString::fromLatin1(b.tip));
        if (key == QLatin1String("Random")) a->setStatusTip(QStringLiteral("Randomly Select Song"));
        connect(a, &QAction::triggered, this, [this, key] { tbToolbar_ButtonClick(key); });
    }
    cbToolbar->addWidget(tbToolbar);

    cbControls = fixedBar("cbControls", picClient);
    uspControls = new ctlQX_noFocusPanel(cbControls);
    uspControls->setObjectName(QStringLiteral("uspControls"));
    uspControls->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(uspControls);
    // The slider ends 240 twips short of the window's right edge.
    row->setContentsMargins(vb::TwipsToPixels(60), 2, vb::TwipsToPixels(240), 2);
    row->setSpacing(vb::TwipsToPixels(60));
    lblPosition = new QLabel(QStringLiteral("Position:"), uspControls);
    lblPosition->setObjectName(QStringLiteral("lblPosition"));
    sldPosition = new QSlider(Qt::Horizontal, uspControls);
    sldPosition->setObjectName(QStringLiteral("sldPosition"));
    sldPosition->setToolTip(QStringLiteral("Current Position"));
    sldPosition->setRange(0, 0);
    sldPosition->setFocusPolicy(Qt::NoFocus);
    sldPosition->installEventFilter(this);
    row->addWidget(lblPosition);
    row->addWidget(sldPosition, 1);
    uspControls->setFixedHeight(row->sizeHint().height());
    cbControls->addWidget(uspControls);

    lstvPlaylist = new ListView(picClient);
    lstvPlaylist->setObjectName(QStringLiteral("lstvPlaylist"));
    lstvPlaylist->setColumns({QStringLiteral("No."), QStringLiteral("Title:"), QStringLiteral("Length:")});
    lstvPlaylist->setMultiSelect(false);
    lstvPlaylist->installEventFilter(this);
    lstvPlaylist->viewport()->installEventFilter(this);

    sbStatusBar = new QStatusBar(picClient);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(false);
    controls_AddStatusPanels(sbStatusBar, sbPanel, {"Status:", "Tracks:", "Length:  ", "Elapsed:"});
    for (int i = 1; i < 4; ++i) sbPanel[i]->setMinimumWidth(vb::TwipsToPixels(1500));

    tmrMenuText = new QTimer(this);
    tmrMenuText->setObjectName(QStringLiteral("tmrMenuText"));
    // Menu help follows the hover signal; the timer only takes back a stray help text.
    tmrMenuText->setInterval(250);
    tmrWindowUpdate = new QTimer(this);
    tmrWindowUpdate->setObjectName(QStringLiteral("tmrWindowUpdate"));
    tmrWindowUpdate->setInterval(50);

    installEventFilter(this);
    picClient->installEventFilter(this);
}

void FrmCDPlayer::connectCommands()
{
    for (QMenu* m : {mnuFile, mnuPlayback, mnuWindow, mnuHelp}) {
        connect(m, &QMenu::hovered, this, [this, m](QAction* a) { window_MenuHelp(m, a); });
        // The status timer writes the status again on its next tick.
        connect(m, &QMenu::aboutToHide, this, [this] { MenuHelpShown = false; });
    }
    // Play is the bold item only while the Playback menu pops up over the list.
    connect(mnuPlayback, &QMenu::aboutToHide, this, [this] { mnuPlayback->setDefaultAction(nullptr); });
    connect(tmrWindowUpdate, &QTimer::timeout, this, [this] { tmrWindowUpdate_Timer(); });
    connect(tmrMenuText, &QTimer::timeout, this, [this] { tmrMenuText_Timer(); });
}

void FrmCDPlayer::Form_Load()
{
    WindowLoaded = false;
    writeLog(QStringLiteral("CD Player opened at ") + vb::TimeOfDay() + u'.');
    windows_LoadPosition(this, QString::fromLatin1(PositionName), PositionMargin);
    lstvPlaylist->setColumnWidthTwips(0, settings_ReadNumber(kColumns, QStringLiteral("Number"), QStringLiteral("800")));
    lstvPlaylist->setColumnWidthTwips(2, settings_ReadNumber(kColumns, QStringLiteral("Length"), QStringLiteral("1000")));

    // Keys of the window's own (Form_KeyDown), shown beside their items.
    const std::pair<QAction*, const char*> keyTexts[] = {
        {mnuPrevious, "V"}, {mnuPlay, "P"}, {mnuPause, "U"}, {mnuStop, "S"},
        {mnuNext, "N"}, {mnuRandom, "M"}, {mnuClose, "Alt+F4"}, {mnuEject, "E"},
    };
    for (const auto& [item, text] : keyTexts) item->setText(item->text() + u'\t' + QString::fromLatin1(text));
    window_SetMenuImages();

    const QString A = QStringLiteral("Appearance");
    lstvPlaylist->setBackColour(quint32(qint64(settings_ReadNumber(A, QStringLiteral("BackgroundColour"), QStringLiteral("&H80000005")))));
    lstvPlaylist->setForeColour(quint32(qint64(settings_ReadNumber(A, QStringLiteral("FontColour"), QStringLiteral("&H80000008")))));

    const bool onTop = settings_ReadFlag(kSettings, QStringLiteral("AlwaysOnTop"), QStringLiteral("0"));
    mnuAlwaysOnTop->setChecked(onTop);
    windows_SetAlwaysOnTop(this, onTop);

    if (settings_ReadFlag(kSettings, QStringLiteral("ShowTimeElapsed"), QStringLiteral("1"))) {
        mnuShowTimeElapsed->setChecked(true);
        mnuShowTimeRemaining->setChecked(false);
    } else if (settings_ReadFlag(kSettings, QStringLiteral("ShowTimeRemaining"), QStringLiteral("0"))) {
        mnuShowTimeElapsed->setChecked(false);
        mnuShowTimeRemaining->setChecked(true);
    }

    const bool toolbar = settings_ReadFlag(kSettings, QStringLiteral("ShowToolbar"), QStringLiteral("1"));
    mnuShowToolbar->setChecked(toolbar);
    applyToolbar(toolbar);
    const bool statusBar = settings_ReadFlag(kSettings, QStringLiteral("ShowStatusBar"), QStringLiteral("1"));
    mnuShowStatusBar->setChecked(statusBar);
    sbStatusBar->setVisible(statusBar);
    const bool headers = settings_ReadFlag(kSettings, QStringLiteral("ShowPlaylistHeaders"), QStringLiteral("0"));
    mnuShowPlaylistHeaders->setChecked(headers);
    lstvPlaylist->setHideColumnHeaders(!headers);

    WindowLoaded = true;
    Form_Resize();
    mnuNew_Click();
    CDState = 1;
    tmrMenuText->start();
    tmrWindowUpdate->start();
}

// ---- closing ----------------------------------------------------------------------------------------

void FrmCDPlayer::Form_Unload()
{
    windows_SavePosition(this, QString::fromLatin1(PositionName), PositionMargin);
    settings_WriteValue(kColumns, QStringLiteral("Number"), vb::CStr(lstvPlaylist->columnWidthTwips(0)));
    settings_WriteValue(kColumns, QStringLiteral("Length"), vb::CStr(lstvPlaylist->columnWidthTwips(2)));
    // A paused disc stays paused, and the device stays open.
    if (CDState == 0) cdaudio_Stop();
    tmrWindowUpdate->stop();
    tmrMenuText->stop();
    if (forms().isLoaded<FrmMain>()) forms().get<FrmMain>().mnuOpenCDPlayer->setChecked(false);
}

void FrmCDPlayer::window_Unload()
{
    if (m_unloaded) return;
    m_unloaded = true;
    Form_Unload();
    forms().unloadLater<FrmCDPlayer>();
}

void FrmCDPlayer::closeEvent(QCloseEvent* event)
{
    event->accept();
    window_Unload();
}

void FrmCDPlayer::mnuClose_Click() { window_Unload(); }

// ---- rows -------------------------------------------------------------------------------------------

ListViewModel& FrmCDPlayer::rows() const { return lstvPlaylist->items(); }

int FrmCDPlayer::selectedTrack() const { return controls_HasSelectedItem(rows()) ? rows().selectedItem() : 0; }

QString FrmCDPlayer::statusPanelText(int panel) const { return controls_StatusPanelText(sbPanel, panel); }

void FrmCDPlayer::setStatusPanelText(int panel, const QString& text) { controls_SetStatusPanelText(sbPanel, panel, text); }

QAction* FrmCDPlayer::toolbarButton(const QString& key) const
{
    for (QAction* a : tbToolbar->actions())
        if (a->data().toString() == key) return a;
    return nullptr;
}

QAction* FrmCDPlayer::toolbarButton(int index) const
{
    const QList<QAction*> buttons = tbToolbar->actions();
    return index >= 1 && index <= buttons.size() ? buttons[index - 1] : nullptr;
}

void FrmCDPlayer::playlist_AddSong(const QString& number, const QString& title, const QString& length)
{
    rows().add({number, title, length});
}

void FrmCDPlayer::playlist_UpdatePlaylist(int index)
{
    ListViewModel& list = rows();
    for (int i = 1; i <= list.count(); ++i) {
        // A row that loses the mark takes the list's own text colour again, so that it
        // stays readable on any background.
        if (list.bold(i)) {
            list.setBold(i, false);
            list.setForeColour(i, ListViewModel::NoColour);
        }
        if (i == index) {
            list.setBold(i, true);
            list.setForeColour(i, kPlayingColour);
        }
    }
    lstvPlaylist->viewport()->update();
}

void FrmCDPlayer::window_SetMenuImages()
{
    struct Image {
        int menu;
        int item;
        const char* icon;
        QStyle::StandardPixmap fallback;
    };
    const Image images[] = {
        {0, 0, "document-new", QStyle::SP_FileIcon},
        {0, 4, "window-close", QStyle::SP_DialogCloseButton},
        {1, 0, "media-skip-backward", QStyle::SP_MediaSkipBackward},
        {1, 2, "media-playback-start", QStyle::SP_MediaPlay},
        {1, 3, "media-playback-pause", QStyle::SP_MediaPause},
        {1, 4, "media-playback-stop", QStyle::SP_MediaStop},
        {1, 5, "media-playlist-shuffle", QStyle::SP_BrowserReload},
        {1, 7, "media-skip-forward", QStyle::SP_MediaSkipForward},
        {1, 9, "media-eject", QStyle::SP_DriveCDIcon},
        {2, 9, "zoom-fit-best", QStyle::SP_DesktopIcon},
        {3, 1, "document-new", QStyle::SP_FileIcon},
        {3, 10, "help-about", QStyle::SP_MessageBoxInformation},
    };
    const QList<QAction*> menus = menuBar()->actions();
    for (const Image& image : images) {
        QMenu* menu = image.menu < menus.size() ? menus[image.menu]->menu() : nullptr;
        if (!menu) continue;
        const QList<QAction*> items = menu->actions();
        if (image.item < items.size() && !items[image.item]->isSeparator()) items[image.item]->setIcon(controls_ThemeIcon(image.icon, image.fallback));
    }
}

// ---- the drive scan and the transport commands -----------------------------------------------------

void FrmCDPlayer::mnuNew_Click()
{
    controls_ClearListView(rows());
    bool found = false;
    for (char letter = 'A'; letter <= 'Z' && !found; ++letter) {
        QString drive = QChar(letter) + QStringLiteral(":\\");
        found = cdaudio_Open(drive) && cdaudio_IsMediaPresent() && cdaudio_GetTrackCount() > 0;
    }
    if (found) {
        const int count = cdaudio_GetTrackCount();
        for (int n = 1; n <= count; ++n)
            playlist_AddSong(vb::FormatNumber(n, QStringLiteral("0#")), QStringLiteral("Audio Track ") + QString::number(n),
                             media_FormatTime(cdaudio_GetTrackLength(n)));
    }
    setStatusPanelText(3, QStringLiteral("Length:  ") + cdaudio_GetTotalLength());
}

void FrmCDPlayer::mnuPlay_Click()
{
    tmrWindowUpdate->stop();
    if (CDState == 0) cdaudio_Stop();
    playlist_UpdatePlaylist(0);
    // Nothing selected: the disc starts at its first track.
    if (selectedTrack() == 0 && rows().count() >= 1) controls_SelectItem(rows(), 1);
    CurrentCDTrack = selectedTrack();
    cdaudio_SeekTrack(CurrentCDTrack);
    playlist_UpdatePlaylist(CurrentCDTrack);
    CDState = cdaudio_Play() ? 0 : 1;
    // A new play is not a paused one: the next Pause pauses.
    CDPaused = false;
    writeLog(QStringLiteral("Audio CD Played at ") + vb::TimeOfDay() + u'.');
    tmrWindowUpdate->start();
}

void FrmCDPlayer::mnuPause_Click()
{
    if (CDPaused) {
        cdaudio_Play();
        CDState = 0;
        CDPaused = false;
    } else if (CDState == 0) {
        cdaudio_Pause();
        CDState = 2;
        CDPaused = true;
    }
}

void FrmCDPlayer::mnuStop_Click()
{
    playlist_UpdatePlaylist(0);
    sldPosition->setValue(0);
    CurrentCDTrack = 0;
    if (cdaudio_Stop()) CDState = 1;
    CDPaused = false;
}

void FrmCDPlayer::mnuNext_Click()
{
    if (CurrentCDTrack >= rows().count()) return;
    tmrWindowUpdate->stop();
    cdaudio_Stop();
    ++CurrentCDTrack;
    controls_SelectItem(rows(), CurrentCDTrack);
    mnuPlay_Click();
}

void FrmCDPlayer::mnuPrevious_Click()
{
    if (CurrentCDTrack <= 1) return;
    tmrWindowUpdate->stop();
    cdaudio_Stop();
    --CurrentCDTrack;
    controls_SelectItem(rows(), CurrentCDTrack);
    mnuPlay_Click();
}

void FrmCDPlayer::mnuRandom_Click()
{
    if (rows().count() == 0) return;
    cdaudio_Stop();
    const int n = math_GetRandomNumber(rows().count(), 0, false, 20);
    playlist_UpdatePlaylist(0);
    CurrentCDTrack = n;
    controls_SelectItem(rows(), n);
    playlist_UpdatePlaylist(n);
    mnuPlay_Click();
}

void FrmCDPlayer::mnuEject_Click()
{
    mnuStop_Click();
    cdaudio_Eject();
    mnuNew_Click();
}

void FrmCDPlayer::playSelected()
{
    if (rows().count() == 0 || selectedTrack() == 0) return;
    if (CDPaused) mnuStop_Click();
    mnuPlay_Click();
}

void FrmCDPlayer::tbToolbar_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Previous")) mnuPrevious_Click();
    else if (key == QLatin1String("Play")) mnuPlay_Click();
    else if (key == QLatin1String("Pause")) mnuPause_Click();
    else if (key == QLatin1String("Stop")) mnuStop_Click();
    else if (key == QLatin1String("Next")) mnuNext_Click();
    else if (key == QLatin1String("Random")) mnuRandom_Click();
    else if (key == QLatin1String("Eject")) mnuEject_Click();
}

// ---- other windows -----------------------------------------------------------------------------------

void FrmCDPlayer::mnuConsole_Click() { windows_ShowModal(forms().get<FrmConsole>(), &forms().get<FrmMain>(), false); }

void FrmCDPlayer::mnuTracking_Click() { windows_ShowModal(forms().get<FrmTracking>(), &forms().get<FrmMain>(), false); }

void FrmCDPlayer::mnuVolumes_Click() { windows_ShowModal(forms().get<FrmAdjustVolumes>(), &forms().get<FrmMain>(), false); }

void FrmCDPlayer::mnuForum_Click() { windows_OpenURL(this, webpages::forum(), 3); }

void FrmCDPlayer::mnuHomepage_Click() { windows_OpenURL(this, webpages::homepage(), 3); }

void FrmCDPlayer::mnuPreferences_Click() { FrmPreferences::prefs_Show(&forms().get<FrmMain>()); }

// The main window's own commands.
void FrmCDPlayer::mnuCheckForUpdates_Click() { forms().get<FrmMain>().mnuCheckForUpdates_Click(); }
void FrmCDPlayer::mnuAboutWindows_Click() { forms().get<FrmMain>().mnuAboutWindows->trigger(); }
void FrmCDPlayer::mnuAbout_Click() { forms().get<FrmMain>().mnuAbout->trigger(); }
