#include "player/FrmVideo.h"

#include "platform/ProgramFolder.h"

#include <QTimer>

FrmVideo::FrmVideo()
{
    setObjectName(QStringLiteral("FrmVideo"));
    setWindowTitle(programfolder::title() + QStringLiteral(" Video"));
    tmrWindowUpdate = new QTimer(this);
    tmrWindowUpdate->setInterval(100);
}

void FrmVideo::video_Update() {}
