#include "platform/VideoFrameWidget.h"

#include <QPainter>

namespace veltra {

VideoFrameWidget::VideoFrameWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("VideoFrameWidget"));
    // Every pixel is painted in paintEvent: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(16, 16);
}

void VideoFrameWidget::setFrame(const QImage& frame)
{
    m_frame = frame;
    ++m_framesShown;
    update();
}

void VideoFrameWidget::clearFrame()
{
    if (m_frame.isNull()) return;
    m_frame = QImage();
    update();
}

QSize VideoFrameWidget::sizeHint() const
{
    return m_frame.isNull() ? QSize(320, 240) : m_frame.size();
}

void VideoFrameWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect area = rect();
    if (m_frame.isNull() || area.isEmpty()) {
        p.fillRect(area, Qt::black);
        return;
    }
    QSize target = m_frame.size().scaled(area.size(), Qt::KeepAspectRatio);
    if (target.isEmpty()) target = QSize(1, 1);
    const QRect picture(QPoint(area.x() + (area.width() - target.width()) / 2,
                               area.y() + (area.height() - target.height()) / 2),
                        target);
    // The black bars beside or above and below the picture.
    const QRegion bars = QRegion(area).subtracted(picture);
    for (const QRect& r : bars) p.fillRect(r, Qt::black);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(picture, m_frame);
}

} // namespace veltra
