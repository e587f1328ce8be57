#pragma once
// Jump To Track Number: selects the playlist row of a typed number and, by the chosen option,
// plays it or marks it to play next. The option is kept in [JumpToTrackNumber].
#include "common/ToolDialog.h"

class OptionButtons;
class QLineEdit;

class FrmJumpToNumber : public ToolDialog {
    Q_OBJECT
public:
    FrmJumpToNumber();

    QLineEdit* txtNum = nullptr;
    OptionButtons* opFurther = nullptr;   // 0 select, 1 and play, 2 and play next
    QPushButton* cmdJump = nullptr;

    void Form_Load();
    void cmdJump_Click();
};
