#pragma once
// A push button showing a centred text inside the framed-panel frame; while a mouse button
// is held on it the light and dark edges swap so that it looks pressed.
#include "controls/FramedButton.h"

#include <QFont>

class ctlQX_wTextPanel : public FramedButton {
    Q_OBJECT
public:
    explicit ctlQX_wTextPanel(QWidget* parent = nullptr);

    QFont Font() const { return m_font; }
    void setFont(const QFont& font);
    OleColour ForeColor() const { return m_foreColour; }
    void setForeColor(OleColour colour);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

    ControlPiece* lblCaption() const { return piece(); }
    // The label's place in twips, as the layout computed it.
    float lblCaptionLeft() const { return pieceLeft(); }
    float lblCaptionTop() const { return pieceTop(); }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

    void panel_DrawPressed() { drawPressed(); }
    void panel_DrawRaised() { drawRaised(); }
    void lblCaption_Click() { UserControl_Click(); }

protected:
    void showPressedLook() override { panel_DrawPressed(); }
    void showRaisedLook() override { panel_DrawRaised(); }

private:
    // The container's font and text colour, the defaults of the stored ones.
    QFont ambientFont() const;
    void sizeLabel();

    OleColour m_foreColour = syscolour::ButtonText;
    QString m_caption = QStringLiteral("Text Panel");
    QFont m_font;
};
