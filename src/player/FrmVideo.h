#pragma once
// The video window: hosts the player's picture; shown only while a video plays. The player
// itself lives here for the whole run and plays audio with the window hidden.
#include <QWidget>

class QLabel;
class QTimer;
class ctlQX_noFocusPanel;
class ctlQX_wScrollbar;
class ctlQX_wTextPanel;

namespace veltra {
class MediaPlayerControl;
}

class FrmVideo : public QWidget {
    Q_OBJECT
public:
    FrmVideo();
    ~FrmVideo() override;

    bool VideoIsOpen = false;

    veltra::MediaPlayerControl* wmpPlayer = nullptr;
    QWidget* wmpPicture = nullptr;          // where the player draws; placed by the layout step
    ctlQX_noFocusPanel* nfpBottom = nullptr;
    ctlQX_wTextPanel* qxbPause = nullptr;
    ctlQX_wTextPanel* qxbStopVideo = nullptr;
    ctlQX_wTextPanel* qxbHideScreen = nullptr;
    ctlQX_wTextPanel* qxbFullScreen = nullptr;
    ctlQX_wTextPanel* qxbNormal = nullptr;
    QLabel* lblPosition = nullptr;
    QLabel* lblBalance = nullptr;
    QLabel* lblVolume = nullptr;
    ctlQX_wScrollbar* qxsPosition = nullptr;
    ctlQX_wScrollbar* qxsBalance = nullptr;
    ctlQX_wScrollbar* qxsVolume = nullptr;
    QTimer* tmrWindowUpdate = nullptr;

    void video_Update();
    void video_GetSize();
    void video_SaveSize();
    void video_Open();
    void video_Close();

    void wmpPlayer_EndOfStream();
    void wmpPlayer_Error(const QString& reason);
    void qxbFullScreen_Click();
    void qxbNormal_Click();
    void qxbHideScreen_Click();
    void qxbPause_Click();
    void qxbStopVideo_Click();
    void qxsVolume_Change();
    void qxsBalance_Change();
    void qxsPosition_Change();
    void tmrWindowUpdate_Timer();
    void Form_Resize();               // the layout step
    bool Form_QueryUnload(bool fromCloseBox);   // true: the close is cancelled

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Geometry in twips, as the layout step computes it.
    struct Box {
        double left, top, width, height;
    };
    void place(QWidget* w, const Box& b);
    Box box(const QWidget* w) const;
    // The three label and slider pairs between left and right, centred on the line at top.
    void placeSliderRow(double left, double right, double top);
    double labelsWidth() const;   // the labels and the gaps around them
    bool m_closing = false;
};
