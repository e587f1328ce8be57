#pragma once
// The mini-mode window: a small skinned window that stands in for the main window while mini
// mode is on. It mirrors the player (status line, time, position, volume and balance) every
// 500 ms, scrolls a long status line, drives the player through the main window's own
// commands, opens the media library and the CD player, and returns to the full window.
// It has no frame of its own: its title bar is dragged to move it. Its handlers are split:
//   FrmMini.cpp         controls, colours, loading, moving, closing and keys
//   FrmMini_Player.cpp  the two timers, the buttons and the sliders
#include <QWidget>

class QLabel;
class QTimer;
class ctlQX_Digital;
class ctlQX_wImageButton;
class ctlQX_wPanel;
class ctlQX_wScrollbar;

class FrmMini : public QWidget {
    Q_OBJECT
public:
    // Loading: builds the window, applies its colours and settings, places it and mirrors
    // the player once.
    FrmMini();
    ~FrmMini() override;

    // The size of the window in twips.
    static constexpr int WindowWidth = 3855;
    static constexpr int WindowHeight = 2535;

    // ---- controls ---------------------------------------------------------------------------
    ctlQX_wPanel* guiTitleBar = nullptr;
    QLabel* imgIcon = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* imgMinimize = nullptr;
    QLabel* imgClose = nullptr;
    ctlQX_wPanel* guiCenter = nullptr;
    QWidget* picTime = nullptr;
    ctlQX_Digital* qxdNumber = nullptr;
    QWidget* picPlaying = nullptr;
    QLabel* lblPlaying = nullptr;
    QLabel* lblVolume = nullptr;
    ctlQX_wScrollbar* qxsVolume = nullptr;
    QLabel* lblBalance = nullptr;
    ctlQX_wScrollbar* qxsBalance = nullptr;
    ctlQX_wScrollbar* qxsPosition = nullptr;
    ctlQX_wImageButton* qxbButton[12] = {};
    QTimer* tmrPosition = nullptr;
    QTimer* tmrPlaying = nullptr;

    // ---- state ----------------------------------------------------------------------------------
    // While the user has locked the window's place, a drag of the title bar does not start.
    bool PositionLocked() const { return m_positionLocked; }
    void setPositionLocked(bool locked) { m_positionLocked = locked; }
    bool Dragging() const { return m_dragging; }

    // ---- the window ------------------------------------------------------------------------------
    void Form_Load();
    // The nine colours of [MiniModeAppearance] onto the controls.
    void window_InstallColours();
    // Closing by the user (mode 0) or by the window itself (1): returns true when the close
    // is cancelled, which it is unless the window is returning to full mode.
    bool Form_QueryUnload(int unloadMode);
    // Escape puts the window away; every other key is the main window's.
    void Form_KeyDown(int keyCode, int shift);
    // Switching to mini mode: the window loaded (when it is not) and shown.
    static void mini_Show();

    // The title bar and its caption: the right button opens the mini-mode menu, the left one
    // drags the window unless its place is locked. X and Y in twips of the bar.
    void guiTitleBar_MouseDown(int button, int shift, float x, float y);
    void guiTitleBar_MouseMove(int button, int shift, float x, float y);
    void guiTitleBar_MouseUp(int button, int shift, float x, float y);
    void imgIcon_MouseDown(int button);
    void imgIcon_DblClick();
    void imgMinimize_MouseDown(int button);
    void imgClose_MouseDown(int button);

    // ---- the player --------------------------------------------------------------------------------
    void tmrPosition_Timer();
    void tmrPlaying_Timer();
    // The buttons 0-11; any other index does nothing.
    void qxbButton_Click(int index);
    void qxsVolume_Change();
    void qxsBalance_Change();
    void qxsPosition_Change();
    // The status line's left edge inside its window, in twips.
    double lblPlayingLeft() const { return m_playingLeft; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void connectControls();
    void setPlayingLeft(double twips);
    // The position slider's value and maximum, in the order the slider accepts them.
    void setPosition(int value, int max);
    // Hidden only where a tray icon can bring it back; otherwise minimised.
    void putAway();

    bool m_positionLocked = false;
    bool m_returningToFullMode = false;
    bool m_dragging = false;
    int m_dragStartX = 0;
    int m_dragStartY = 0;
    double m_playingLeft = 50;
};
