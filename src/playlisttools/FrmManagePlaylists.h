#pragma once
// Manage Playlists: the playlists of the Playlists folder with their song counts and dates;
// one of them is deleted or renamed, or all are deleted. The list is read once when the
// dialog opens; Finish refreshes the main window's playlist box and menus and closes.
#include "common/ToolDialog.h"

class ListView;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class ctlQX_3DPanel;

class FrmManagePlaylists : public ToolDialog {
    Q_OBJECT
public:
    FrmManagePlaylists();

    ctlQX_3DPanel* qxpTop = nullptr;
    QLabel* lblText = nullptr;
    ListView* lstvItems = nullptr;          // "Playlist Name:", "Songs:", "Created:"
    ctlQX_3DPanel* qxpOptions = nullptr;
    QLabel* lblOptions = nullptr;           // "Options »": opens mnuMenu below its panel
    QPushButton* cmdFinish = nullptr;

    QMenu* mnuMenu = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuRename = nullptr;
    QAction* mnuLineBreak2 = nullptr;
    QAction* mnuClear = nullptr;

    void Form_Load();
    void window_ShowPlaylists();
    void window_AddPlaylist(const QString& name, const QString& songs, const QString& created);
    // The row selected in the list; 0 for none.
    int selectedRow() const;

    void mnuDelete_Click();
    void mnuClear_Click();
    void mnuRename_Click();
    void cmdFinish_Click();
    void cmdClose_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sizeNameColumn();
};
