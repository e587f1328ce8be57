#pragma once
// Edit Moods: the list of mood names with each mood's song count. Names are added (Add
// Mood), moved, removed and reset here; nothing but the files deleted by Remove and Reset
// changes until Save, which stores the list and rebuilds every mood menu. Loaded afresh for
// each opening.
#include "common/ToolDialog.h"

class ListView;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class ctlQX_3DPanel;

class FrmEditMoods : public ToolDialog {
    Q_OBJECT
public:
    FrmEditMoods();

    // Opens a fresh dialog modally over the owner and unloads it afterwards.
    static void window_Open(QWidget* owner);

    ctlQX_3DPanel* qxpTop = nullptr;
    ListView* lstvItems = nullptr;            // "Title:" and "Songs:"
    ctlQX_3DPanel* qxpOptions = nullptr;
    QLabel* lblOptions = nullptr;             // "Options »": opens mnuMenu below its panel
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdSave = nullptr;
    QTimer* tmrWindowUpdate = nullptr;

    QMenu* mnuMenu = nullptr;
    QAction* mnuAdd = nullptr;
    QAction* mnuMoveUpOne = nullptr;
    QAction* mnuMoveDownOne = nullptr;
    QAction* mnuRemove = nullptr;
    QAction* mnuReset = nullptr;

    // Appends a row: the mood's name and its song count as text.
    void window_AddMood(const QString& name, const QString& songs);

    void Form_Load();
    void tmrWindowUpdate_Timer();
    void mnuAdd_Click();
    void mnuMoveUpOne_Click();
    void mnuMoveDownOne_Click();
    void mnuRemove_Click();
    void mnuReset_Click();
    void cmdSave_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sizeTitleColumn();
    void fillFromMoodList();
    void keepASelection();
    void moveSelected(int step);
    int selectedRow() const;
};
