#pragma once
// The start-up options shown when the program starts with the desktop session: do nothing,
// play the last playlist, or play a chosen playlist. It carries out the choice itself.
#include <QDialog>

class QComboBox;
class QRadioButton;

class FrmOptions : public QDialog {
    Q_OBJECT
public:
    FrmOptions();

    QRadioButton* optDoNothing;
    QRadioButton* optPlayLast;
    QRadioButton* optPlayChosen;
    QComboBox* cmbPlaylists;

    void cmdOK_Click();
};
