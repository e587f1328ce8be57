#pragma once
// Rename Playlist: a playlist file of its folder gets a new name there, keeping ".spp".
// Opened by the main window for its current playlist, or by Manage Playlists for the row
// selected there; after a rename it brings that opener up to date and closes.
#include "common/ToolDialog.h"

class QLabel;
class QLineEdit;
class ctlQX_wLine3D;

class FrmRenamePlaylist : public ToolDialog {
    Q_OBJECT
public:
    FrmRenamePlaylist();

    QLabel* lblText = nullptr;
    QLineEdit* txtName = nullptr;
    QPushButton* cmdRename = nullptr;
    QLabel* lblDirectory = nullptr;   // hidden: the file's folder, ending in the separator
    QLabel* lblFilename = nullptr;    // hidden: the file's name with its extension
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;

    // The file to rename, and who opened the dialog: the main window (its playlist box is
    // refreshed afterwards) or Manage Playlists (its selected row takes the new name).
    void Get_Filename(const QString& path, bool refreshMainWindow);
    void cmdRename_Click();
    void cmdClose_Click();

private:
    void window_UpdateMainWindow(const QString& newPath);
    bool m_refreshMainWindow = false;
};
