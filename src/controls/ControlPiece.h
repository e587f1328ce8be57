#pragma once
// A child piece of a skinned control (a label, an image, a picture box): it paints through
// its owner's routine and hands every mouse event to its owner unchanged, with coordinates
// relative to itself.
#include <QWidget>

#include <functional>

class QPainter;
class SkinnedControl;

class ControlPiece : public QWidget {
    Q_OBJECT
public:
    ControlPiece(SkinnedControl* owner, const QString& name);

    std::function<void(QPainter&)> paint;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    SkinnedControl* m_owner;
    bool m_pressed = false;
};
