#pragma once
// Edit Bookmarks: the bookmark list (bookmarks.sbl, one path per line) in a list box, to be
// reordered, thinned out or cleared; only Save writes it back (an empty list deletes the
// file), and the main window's bookmark menu is rebuilt. Loaded afresh for each opening.
#include "common/ToolDialog.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class ctlQX_3DPanel;

class FrmEditBookmarks : public ToolDialog {
    Q_OBJECT
public:
    FrmEditBookmarks();

    ctlQX_3DPanel* qxpTop = nullptr;
    QLabel* lblText = nullptr;
    QListWidget* lstBookmarks = nullptr;   // single selection, unsorted
    ctlQX_3DPanel* qxpOptions = nullptr;
    QLabel* lblOptions = nullptr;          // "Options »": opens mnuMenu below its panel
    QPushButton* cmdSave = nullptr;

    QMenu* mnuMenu = nullptr;
    QAction* mnuMoveUpOne = nullptr;
    QAction* mnuMoveDownOne = nullptr;
    QAction* mnuRemoveSelected = nullptr;
    QAction* mnuRemoveDeadFilenames = nullptr;
    QAction* mnuClear = nullptr;

    // The working items enabled by the list's entries and its selected entry.
    void window_UpdateMenus();

    void Form_Load();
    void mnuMoveUpOne_Click();
    void mnuMoveDownOne_Click();
    void mnuRemoveSelected_Click();
    void mnuRemoveDeadFilenames_Click();
    void mnuClear_Click();
    void cmdSave_Click();

    // The selected entry (from 0); -1 for none.
    int selectedIndex() const;

private:
    void moveSelected(int step);
};
