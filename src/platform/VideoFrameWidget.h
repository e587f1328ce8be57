#pragma once
// The picture of the media player: paints the latest video frame it was given, scaled to fit
// with its proportions kept, on black. It knows nothing of the player; the player hands it
// frames on the GUI thread.
#include <QImage>
#include <QWidget>

namespace veltra {

class VideoFrameWidget : public QWidget {
    Q_OBJECT
public:
    explicit VideoFrameWidget(QWidget* parent = nullptr);

    void setFrame(const QImage& frame);
    void clearFrame();
    const QImage& frame() const { return m_frame; }
    // Frames shown since the widget was made; tells hosts and tests that pictures arrive.
    quint64 framesShown() const { return m_framesShown; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
    quint64 m_framesShown = 0;
};

} // namespace veltra
