#pragma once
// What every dialog of ours with text boxes and long work shares: text boxes that light up
// while they have the focus, and a busy state (the hourglass, the close box and Esc doing
// nothing) for as long as a long operation runs. The tool dialogs add their frame to it
// (ToolDialog), the rename, move and tag dialogs their own (OrganiseDialog).
#include <QDialog>
#include <QPointer>
#include <vector>

class BusyDialog : public QDialog {
    Q_OBJECT
public:
    // The background of a text box that has the focus, and of one that has not.
    static constexpr quint32 FocusColour = 0xFAE6E6;     // 0x00BBGGRR
    static constexpr quint32 NormalColour = 0xFFFFFF;

    BusyDialog(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    // Text boxes, editable combo boxes and multi-line boxes: the focus colour while they have
    // the focus (a text box also selects its whole text then), white otherwise.
    void useFocusColours(QWidget* box);

    // While a long operation runs: the hourglass and isBusy(), and, unless the dialog
    // enables its controls itself (Inputs::Kept), every input and button of the dialog
    // disabled; all restored however the work ends.
    class Busy {
    public:
        enum class Inputs { Disabled, Kept };
        explicit Busy(BusyDialog& dialog, Inputs inputs = Inputs::Disabled);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        BusyDialog& m_dialog;
        std::vector<QPointer<QWidget>> m_disabled;
    };
    bool isBusy() const { return m_busy > 0; }

    // Shown the first time, the dialog opens within the screen with whole rows in its list
    // (controls_FitOpeningSize), and its first control in tab order takes the focus, as
    // typing expects, rather than the default button the dialog would hand it to.
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The close box and Esc: nothing while busy, else closes.
    void reject() override;

private:
    int m_busy = 0;
    bool m_shownOnce = false;
};
