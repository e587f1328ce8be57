#pragma once
// The main window: the playlist and the player.
#include <QMainWindow>
#include <QString>

class QAction;

class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain();
    ~FrmMain() override;

    // State that several parts of the program read and write.
    bool AppIsActive = false;
    bool LayoutReady = false;
    bool PlaylistComboReady = false;
    bool IsExiting = false;
    bool WasMaximized = false;
    bool WindowShown = false;
    int VolumeBeforeAdjust = -1;
    bool StatusBarBusy = false;
    int RandomHistoryCount = 0;
    int RandomHistoryCursor = 0;
    int CurrentTrack = 0;
    bool ResumePending = false;
    QString ResumeFilename;
    qint64 ResumePosition = 0;
    int PlayerState = 1;          // 0 playing, 1 stopped, 2 paused
    int PlayNextIndex = 0;
    QString NowPlayingInfo[3];    // artist, title, file name

    // Menu items other windows read.
    QAction* mnuAlwaysOnTop;          // checked: the window stays on top of the others
    QAction* mnuSwitchToMiniMode;     // checked: the mini window is used instead of this one
};
