#pragma once
// The frame every playlist tool dialog shares: its font, a bottom row of a disabled
// "« &Back", the action button (the default, for Enter) and "&Close" (the cancel button,
// for Esc), the focus colours of its text boxes, digits-only number boxes, and a busy state
// for long work. A dialog is loaded afresh for each opening (Forms::fresh) and shown through
// windows_ShowModal.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <vector>

class QBoxLayout;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class ToolDialog : public QDialog {
    Q_OBJECT
public:
    // The background of a text box that has the focus, and of one that has not.
    static constexpr quint32 FocusColour = 0xFAE6E6;     // 0x00BBGGRR
    static constexpr quint32 NormalColour = 0xFFFFFF;

    ToolDialog(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    QPushButton* cmdBack = nullptr;     // never enabled, no action
    QPushButton* cmdClose = nullptr;    // closes without storing anything

    // The dialog's own controls go here, above the button row.
    QVBoxLayout* body() const { return m_body; }
    // The button row, for dialogs that put more than one action button into it.
    QHBoxLayout* buttonRow() const { return m_buttons; }

    // The action button, placed before "&Close" and made the default button.
    QPushButton* addActionButton(const QString& objectName, const QString& caption, std::function<void()> handler);

    // An etched horizontal line appended to the body, between groups of controls.
    QWidget* addSeparator(const QString& objectName);

    // Text boxes and editable combo boxes: the focus colour while they have the focus (a text
    // box also selects its whole text then), white otherwise.
    void useFocusColours(QWidget* box);
    // A box that takes digits only, typed or pasted, with "0" refused where it would begin the
    // number; maxLength 0 leaves the length free.
    void useNumberBox(QLineEdit* box, int maxLength = 0);

    // While a long operation runs: the hourglass, and every input and button of the dialog
    // disabled; all restored however the work ends.
    class Busy {
    public:
        explicit Busy(ToolDialog& dialog);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        ToolDialog& m_dialog;
        std::vector<QPointer<QWidget>> m_disabled;
    };
    bool isBusy() const { return m_busy > 0; }

    // The font the tool dialogs use: Tahoma 8.25 pt, or the nearest the system has.
    static QFont dialogFont();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The close box and Esc: nothing while busy, else closes.
    void reject() override;

private:
    QVBoxLayout* m_body = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    int m_busy = 0;
};
