#pragma once
// The video window: hosts the player's picture; shown only while a video plays.
#include <QWidget>

class QTimer;

class FrmVideo : public QWidget {
    Q_OBJECT
public:
    FrmVideo();

    bool VideoIsOpen = false;
    QTimer* tmrWindowUpdate;

    void video_Update();
};
