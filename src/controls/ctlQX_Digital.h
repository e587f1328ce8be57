#pragma once
// A number of seconds shown as mm:ss in the manner of a seven-segment display: four digit
// cells and a colon, each segment lit or unlit. Fixed size.
#include "controls/SkinnedControl.h"

#include <array>

class ControlPiece;

class ctlQX_Digital : public SkinnedControl {
    Q_OBJECT
public:
    enum Segment { shpTop, shpRightTop, shpRightBottom, shpBottom, shpLeftBottom, shpLeftTop, shpMiddle };
    static constexpr int SegmentCount = 7;
    static constexpr int Blank = 10;

    explicit ctlQX_Digital(QWidget* parent = nullptr);

    OleColour ColourLight() const { return m_lLight; }
    void setColourLight(OleColour colour);
    OleColour ColourDark() const { return m_lDark; }
    void setColourDark(OleColour colour);
    OleColour BackColor() const { return m_backColour; }
    void setBackColor(OleColour colour);
    qint16 value() const { return m_value; }
    void setValue(qint16 seconds);

    // Fill colour of one segment of the digit cell at `position` (0-3).
    OleColour segmentColour(Segment segment, int position) const;
    // Fill and outline colour of colon dot 0 or 1.
    OleColour dotFillColour(int index) const { return m_dotFill.at(index); }
    OleColour dotBorderColour(int index) const { return m_dotBorder.at(index); }
    // Back colour of a cell: picNum1..picNum4 are 0..3, picDots is 4.
    OleColour cellBackColour(int cell) const { return m_cellBack.at(cell); }
    ControlPiece* digitCell(int position) const { return m_cells.at(position); }
    ControlPiece* picDots() const { return m_picDots; }

    // Size in twips, as the layout forces it.
    double Width() const { return m_widthTwips; }
    double Height() const { return m_heightTwips; }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

    static QString digital_FormatTime(int seconds);
    void digital_Refresh();
    void digital_DrawDigit(int digit, int position);

    void UserControl_Resize();
    void UserControl_Click() { emit Click(); }

signals:
    void Click();
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);

protected:
    void onMouse(QWidget* piece, MouseKind kind, const MouseArgs& args) override;
    void onClick(QWidget* piece) override;
    void onEnabledChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void paintDigit(QPainter& painter, int position) const;
    void paintDots(QPainter& painter) const;
    void paintDotColours();
    void repaintCells();

    OleColour m_lLight = 0xFF00;
    OleColour m_lDark = 0x36D03;
    OleColour m_backColour = 0;
    qint16 m_value = 0;
    std::array<std::array<OleColour, 4>, SegmentCount> m_segments{};
    std::array<OleColour, 2> m_dotFill{};
    std::array<OleColour, 2> m_dotBorder{};
    std::array<OleColour, 5> m_cellBack{};
    std::array<ControlPiece*, 4> m_cells{};
    ControlPiece* m_picDots = nullptr;
    double m_widthTwips = 1035;
    double m_heightTwips = 290;
};
