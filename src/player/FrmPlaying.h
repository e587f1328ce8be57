#pragma once
// The now-playing popup: artist and title in the middle of the screen for three seconds,
// above other windows, never taking the focus.
#include <QWidget>

class QLabel;
class QTimer;

class FrmPlaying : public QWidget {
    Q_OBJECT
public:
    FrmPlaying();

    QLabel* lblText;
    QTimer* tmrTimer;
    int TickCount = 0;

    void Form_Load();
    void Form_Click();
    void lblText_Click();
    void tmrTimer_Timer();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
