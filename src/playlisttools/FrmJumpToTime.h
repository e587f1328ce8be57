#pragma once
// Jump To Time: moves the playing song or video to a typed time (minutes and seconds),
// checked against the media's length.
#include "common/ToolDialog.h"

class QLabel;
class QLineEdit;

class FrmJumpToTime : public ToolDialog {
    Q_OBJECT
public:
    FrmJumpToTime();

    QLineEdit* txtMins = nullptr;
    QLineEdit* txtSecs = nullptr;
    QLabel* lblLength = nullptr;
    QPushButton* cmdJump = nullptr;

    void Form_Load();
    void cmdJump_Click();
};
