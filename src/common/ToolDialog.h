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

class QAbstractItemView;
class QAction;
class QBoxLayout;
class QComboBox;
class QLabel;
class QMenu;
class ctlQX_3DPanel;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QVBoxLayout;
class ctlQX_3DPanel;

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
    // number; maxLength 0 leaves the length free. controls_SetNumericFilterOn switches it off
    // and on.
    void useNumberBox(QLineEdit* box, int maxLength = 0);

    // A framed panel holding one label, as tall as a caption bar: a heading, or the
    // "Options »" panel.
    ctlQX_3DPanel* labelPanel(const QString& objectName, QLabel* label);
    // The dialog's pop-up menu: a left press on `panel` opens it below the panel, the
    // context-menu key in `list` at the list's top left and a right press in the list at the
    // pointer. `beforePopup` runs first (it enables the menu's items).
    void useOptionsMenu(QMenu* menu, QWidget* panel, QAbstractItemView* list, std::function<void()> beforePopup = {});

    // A key the dialog takes wherever the focus is, before its controls see it (not while
    // busy). Covers the controls the dialog has when this is called.
    void useDialogKey(int qtKey, std::function<void()> command);

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
    // The look of a link label (web page, mail, update check): blue, underlined, a hand pointer.
    static void useLinkLook(QLabel* label);

    // A panel with a 3-D frame holding one label, as tall as a caption bar (a list's heading,
    // an "Options »" link).
    static ctlQX_3DPanel* labelPanel(QWidget* parent, const char* name, QLabel* label);
    // The row above a list in the body: its heading in one such panel ("qxpTop") and the
    // "Options »" link ("lblOptions", pointing hand) in another ("qxpOptions").
    struct HeadingRow {
        ctlQX_3DPanel* qxpTop;
        QLabel* lblOptions;
        ctlQX_3DPanel* qxpOptions;
    };
    HeadingRow addHeadingRow(QLabel* heading);
    // Keys as the dialogs' key handlers take them: the classic virtual-key numbers of the keys
    // they use (38 Up, 40 Down, 46 Delete, 65 A, 93 the context-menu key; 0 for the others),
    // and the shift state 1 Shift, 2 Ctrl, 4 Alt, added up.
    enum VirtualKey { VkUp = 38, VkDown = 40, VkDelete = 46, VkA = 65, VkApps = 93 };
    enum ShiftState { ShiftKey = 1, CtrlKey = 2, AltKey = 4 };
    static int virtualKey(int qtKey);
    static int shiftState(Qt::KeyboardModifiers modifiers);
    // A menu item's command run by its key only while the item is enabled; the key is taken
    // either way (returns true).
    static bool runIfEnabled(QAction* item, const std::function<void()>& command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The dialogs with an options menu over a list: once set (after the controls exist), the
    // dialog sees each key before its controls and hands it to `keyDown` (key code and shift
    // as above) once, unless it is the context-menu key on the list; that key opens `menu` at
    // the list's corner, a right click in the list opens it at the pointer and a left click on
    // the options link (the label or its panel) below the panel. `beforeMenu` brings the
    // menu's items up to date first.
    struct OptionsMenu {
        QAbstractItemView* list = nullptr;
        QMenu* menu = nullptr;
        QWidget* link = nullptr;
        QWidget* linkPanel = nullptr;
        std::function<bool(int keyCode, int shift)> keyDown;
        std::function<void()> beforeMenu;
    };
    void setOptionsMenu(OptionsMenu options);
    // The options menu below the options link.
    void showOptionsMenu();
    // The close box and Esc: nothing while busy, else closes.
    void reject() override;

private:
    void popupOptions(const QPoint& globalPos);

    QVBoxLayout* m_body = nullptr;
    QMenu* m_popup = nullptr;
    QWidget* m_optionsPanel = nullptr;
    QAbstractItemView* m_optionsList = nullptr;
    std::function<void()> m_beforeOptions;
    std::vector<std::pair<int, std::function<void()>>> m_dialogKeys;
    QHBoxLayout* m_buttons = nullptr;
    int m_busy = 0;
    OptionsMenu m_options;
    bool optionsMenuEvent(QObject* watched, QEvent* event);
};
