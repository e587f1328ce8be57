#pragma once
// A horizontal slider drawn from two pictures: a track picture filling the control and a
// thumb picture copied onto it. The thumb is moved only by dragging it with the left
// button; no arrows, no paging, no keys.
#include "controls/SkinnedControl.h"

#include <QPixmap>

class ControlPiece;

class ctlQX_wScrollbar : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_wScrollbar(QWidget* parent = nullptr);

    bool BarVisible() const;
    void setBarVisible(bool visible);
    OleColour BackColor() const { return m_trackBack; }
    void setBackColor(OleColour colour);
    QPixmap Bar() const { return m_bar; }
    void setBar(const QPixmap& picture);
    qint32 Max() const { return m_max; }
    void setMax(qint32 max);
    qint32 Min() const { return m_min; }
    void setMin(qint32 min);
    QPixmap Picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);
    qint32 value() const { return m_value; }
    void setValue(qint32 value);

    // Left edge of the thumb on the track, in pixels.
    qint32 thumbPosition() const { return m_thumbPos; }
    bool dragging() const { return m_dragging; }
    // Track and thumb widths in whole pixels.
    int trackWidth() const;
    int thumbWidth() const;
    ControlPiece* picBack() const { return m_picBack; }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

    void UserControl_Resize();

    // A plain raised thumb picture for Bar: grey, light top and left edges, dark right and bottom.
    static QPixmap raisedThumb(int width, int height);

    // A twip measure in whole pixels: rounded, divided by twips per pixel, rounded again.
    static int scroll_TwipsToPixels(double twips);
    void scroll_UpdateBarPosition();
    qint32 scroll_UpdateValue() const;
    void scroll_DrawBar(bool recompute);

    void picBack_MouseDown(short Button, short Shift, float X, float Y);
    void picBack_MouseMove(short Button, short Shift, float X, float Y);
    void picBack_MouseUp(short Button, short Shift, float X, float Y);

signals:
    void Change();
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);

protected:
    void onMouse(QWidget* piece, MouseKind kind, const MouseArgs& args) override;
    void onEnabledChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void paintTrack(QPainter& painter) const;

    qint32 m_thumbPos = 0;
    bool m_dragging = false;
    qint32 m_min = 0;
    qint32 m_max = 100;
    qint32 m_value = 0;
    OleColour m_trackBack = syscolour::ButtonFace;
    OleColour m_surfaceBack = syscolour::ButtonFace;
    QPixmap m_picture;
    QPixmap m_bar;
    ControlPiece* m_picBack;
};
