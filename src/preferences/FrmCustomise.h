#pragma once
// The mini-mode colours: nine colours of the mini window, chosen one by one, put back to
// their defaults, and saved to [MiniModeAppearance]; saving repaints the mini window at once
// when mini mode is on. Loaded afresh for each opening; nothing is written but by Save.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class ctlQX_3DPanel;

class FrmCustomise : public QDialog {
    Q_OBJECT
public:
    FrmCustomise();

    static constexpr int ColourCount = 9;
    // The settings key and the default colour of each box, by index.
    static QString colourKey(int index);
    static quint32 defaultColour(int index);

    QFrame* picColour[ColourCount] = {};
    QPushButton* cmdColour[ColourCount] = {};
    QLabel* lblColour[ColourCount] = {};
    ctlQX_3DPanel* panels[3] = {};
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;

    // The colour a box shows (0x00BBGGRR, or a system colour).
    quint32 colour(int index) const { return m_colours[index]; }
    void setColour(int index, quint32 colour);

    void Form_Load();
    void cmdColour_Click(int index);
    void cmdDefault_Click();
    void cmdSave_Click();
    void cmdClose_Click();

private:
    quint32 m_colours[ColourCount] = {};
};
