#pragma once
// Ends the program in two timed steps: the tray icon goes first, then the program.
#include <QWidget>

class QTimer;

class FrmExit : public QWidget {
    Q_OBJECT
public:
    FrmExit();

    int Counter = 0;
    QTimer* tmrTimer;

    void Form_Load();
    void tmrTimer_Timer();
};
