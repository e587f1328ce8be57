#pragma once
// The CD player: a window of its own that finds the first drive holding an audio CD, lists
// the disc's tracks and plays, pauses, stops, skips, picks at random, seeks and ejects
// through the CD audio device (modCDAudio). Its handlers are split over two files:
//   FrmCDPlayer.cpp         controls, menus, loading and closing, the commands
//   FrmCDPlayer_Window.cpp  view switches, layout, keys and the list's own events
//   FrmCDPlayer_Status.cpp  the status timer, menu help and seeking with the slider
#include <QMainWindow>

class ListView;
class ListViewModel;
class QAction;
class QLabel;
class QMenu;
class QPoint;
class QSlider;
class QStatusBar;
class QTimer;
class QToolBar;
class ctlQX_noFocusPanel;

class FrmCDPlayer : public QMainWindow {
    Q_OBJECT
public:
    // Loading: builds the window, restores its settings and scans the drives.
    FrmCDPlayer();
    ~FrmCDPlayer() override;

    // Where the window keeps its place: section "Position_CDPlayer", and the margin (twips)
    // kept free around it when it is placed.
    static constexpr const char* PositionName = "CDPlayer";
    static constexpr int PositionMargin = 2500;

    // ---- state other windows read ----------------------------------------------------------
    int CurrentCDTrack = 0;   // the track being played; 0 after Stop and before the first Play
    int CDState = 1;          // 0 playing, 1 stopped, 2 paused
    bool CDPaused = false;    // a Pause paused the disc and the next Pause resumes it
    bool WindowLoaded = false;
    bool MenuHelpShown = false;

    // ---- controls ----------------------------------------------------------------------------
    QWidget* picClient = nullptr;
    QToolBar* cbToolbar = nullptr;
    QToolBar* tbToolbar = nullptr;
    QToolBar* cbControls = nullptr;
    ctlQX_noFocusPanel* uspControls = nullptr;
    QLabel* lblPosition = nullptr;
    QSlider* sldPosition = nullptr;
    ListView* lstvPlaylist = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    QLabel* sbPanel[4] = {nullptr, nullptr, nullptr, nullptr};
    QTimer* tmrMenuText = nullptr;
    QTimer* tmrWindowUpdate = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuPreferences = nullptr;
    QAction* mnuClose = nullptr;
    QMenu* mnuPlayback = nullptr;
    QAction* mnuPrevious = nullptr;
    QAction* mnuPlay = nullptr;
    QAction* mnuPause = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuRandom = nullptr;
    QAction* mnuNext = nullptr;
    QAction* mnuEject = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuAlwaysOnTop = nullptr;
    QAction* mnuShowTimeElapsed = nullptr;
    QAction* mnuShowTimeRemaining = nullptr;
    QAction* mnuShowToolbar = nullptr;
    QAction* mnuShowStatusBar = nullptr;
    QAction* mnuShowPlaylistHeaders = nullptr;
    QAction* mnuReCenterWindow = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuConsole = nullptr;
    QAction* mnuTracking = nullptr;
    QAction* mnuVolumes = nullptr;
    QAction* mnuForum = nullptr;
    QAction* mnuHomepage = nullptr;
    QAction* mnuCheckForUpdates = nullptr;
    QAction* mnuAboutWindows = nullptr;
    QAction* mnuAbout = nullptr;

    ListViewModel& rows() const;
    // The selected row's track; 0 when no row is selected.
    int selectedTrack() const;
    // Status-bar panels, counted from 1.
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString& text);
    // A toolbar button by its key ("Play", "Eject" ...), or by its index (1..11, separators counted).
    QAction* toolbarButton(const QString& key) const;
    QAction* toolbarButton(int index) const;

    // ---- public operations -------------------------------------------------------------------
    void window_SetMenuImages();
    // Row `index` shown as the playing one (bold, dark red); 0 marks none.
    void playlist_UpdatePlaylist(int index);
    void playlist_AddSong(const QString& number, const QString& title, const QString& length);
    // Saves what closing saves, stops a playing disc and unloads the window.
    void window_Unload();

    // ---- commands ----------------------------------------------------------------------------
    void mnuNew_Click();   // the drive scan
    void mnuPreferences_Click();
    void mnuClose_Click();
    void mnuPrevious_Click();
    void mnuPlay_Click();
    void mnuPause_Click();
    void mnuStop_Click();
    void mnuRandom_Click();
    void mnuNext_Click();
    void mnuEject_Click();
    void mnuAlwaysOnTop_Click();
    void mnuShowTimeElapsed_Click();
    void mnuShowTimeRemaining_Click();
    void mnuShowToolbar_Click();
    void mnuShowStatusBar_Click();
    void mnuShowPlaylistHeaders_Click();
    void mnuReCenterWindow_Click();
    void mnuConsole_Click();
    void mnuTracking_Click();
    void mnuVolumes_Click();
    void mnuForum_Click();
    void mnuHomepage_Click();
    void mnuCheckForUpdates_Click();
    void mnuAboutWindows_Click();
    void mnuAbout_Click();
    void tbToolbar_ButtonClick(const QString& key);

    // ---- window, keys and list ---------------------------------------------------------------
    void Form_Resize();
    // Key codes are the classic virtual-key numbers ('P' 80, Enter 13, the menu key 93);
    // shift: 1 Shift, 2 Ctrl, 4 Alt, added up. True when the key was taken.
    bool Form_KeyDown(int keyCode, int shift);
    bool lstvPlaylist_KeyDown(int keyCode, int shift);
    void lstvPlaylist_DblClick();
    // Button 2 (right) shows the Playback menu at the point (list viewport coordinates).
    void lstvPlaylist_MouseDown(int button, const QPoint& viewportPos);

    // ---- status and seeking ------------------------------------------------------------------
    void tmrWindowUpdate_Timer();
    void tmrMenuText_Timer();
    // The help text of a highlighted menu item into status panel 1 (the menus' hover signal).
    void window_MenuHelp(QMenu* menu, QAction* item);
    void sldPosition_MouseDown();
    void sldPosition_MouseUp();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenuBar();
    void createControls();
    void connectCommands();
    void Form_Load();
    void Form_Unload();
    void applyToolbar(bool shown);
    void playSelected();
    void popupPlayback(const QPoint& globalPos);
    void followDisc();
    bool m_unloaded = false;
};
