#pragma once
// The hourglass and the busy status text for a long job on the playlist: while it stands,
// the position timer leaves the first status panel alone. Restored however the job ends.
#include "mainwindow/FrmMain.h"

#include <QApplication>

class PlaylistBusy {
public:
    PlaylistBusy(FrmMain& main, const QString& text) : m_main(main)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_main.StatusBarBusy = true;
        m_main.setStatusPanelText(1, text);
    }
    ~PlaylistBusy()
    {
        m_main.StatusBarBusy = false;
        QApplication::restoreOverrideCursor();
    }
    PlaylistBusy(const PlaylistBusy&) = delete;
    PlaylistBusy& operator=(const PlaylistBusy&) = delete;

private:
    FrmMain& m_main;
};
