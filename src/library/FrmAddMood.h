#pragma once
// Add Mood: one name, proper-cased and appended to the Edit Moods list with the song count
// of its file (a mood's file is made by its first song, never here).
#include "common/ToolDialog.h"

class QLineEdit;
class ctlQX_wLine3D;

class FrmAddMood : public ToolDialog {
    Q_OBJECT
public:
    FrmAddMood();

    QLineEdit* txtName = nullptr;
    ctlQX_wLine3D* uswLine = nullptr;
    QPushButton* cmdAdd = nullptr;

    void cmdAdd_Click();
};
