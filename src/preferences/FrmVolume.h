#pragma once
// The volume popup: a small window without a caption at the bottom right of the screen that
// sets the playback volume and switches muting. It holds nothing of its own: it copies the
// main window's volume and mute state when it opens and pushes every change straight back
// into the main window, the player and, in mini mode, the mini window. Loaded afresh for
// each opening.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class ctlQX_wLine3D;

class FrmVolume : public QDialog {
    Q_OBJECT
public:
    FrmVolume();

    // The popup's size in twips.
    static constexpr int WindowWidth = 3615;
    static constexpr int WindowHeight = 1335;

    QLabel* lblText = nullptr;
    QSlider* sldVolume = nullptr;
    QCheckBox* chkMute = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;
    QPushButton* cmdClose = nullptr;

    void Form_Load();
    void chkMute_Click();
    // The user moved the slider (with the mouse: keys are taken away from it).
    void sldVolume_Scroll();
    void cmdClose_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_loading = false;
};
