#pragma once
// A framed push button: one piece (a picture, a text) centred in the frame. While a mouse
// button is held on it, it shows its pressed look; Click comes for the left button only.
#include "controls/FramedControl.h"

class ControlPiece;

class FramedButton : public FramedControl {
    Q_OBJECT
public:
    using FramedControl::lDark;
    using FramedControl::lLight;
    short lastButton() const { return m_lastButton; }

    // Frame for the present size, the piece centred in it.
    void UserControl_Resize();

    // Handlers, the same for the piece and the bare surface.
    void UserControl_MouseDown(short Button, short Shift, float X, float Y);
    void UserControl_MouseMove(short Button, short Shift, float X, float Y);
    void UserControl_MouseUp(short Button, short Shift, float X, float Y);
    void UserControl_Click();

protected:
    FramedButton(QWidget* parent, const QString& pieceName, const ControlLine& light,
                 const ControlLine& dark);

    ControlPiece* piece() const { return m_piece; }
    // The piece's place in twips, as the layout computed it.
    float pieceLeft() const { return m_pieceLeft; }
    float pieceTop() const { return m_pieceTop; }

    // The look while a mouse button is held on the button, and the look otherwise.
    virtual void showPressedLook() = 0;
    virtual void showRaisedLook() = 0;

    void onMouse(QWidget* piece, MouseKind kind, const MouseArgs& args) override;
    void onClick(QWidget* piece) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ControlPiece* m_piece;
    float m_pieceLeft = 0;
    float m_pieceTop = 0;
    short m_lastButton = 0;
};
