#pragma once
// The frame every playlist tool dialog shares: its font, a bottom row of a disabled
// "« &Back", the action button (the default, for Enter) and "&Close" (the cancel button,
// for Esc), digits-only number boxes, heading panels, an options menu and dialog keys; the
// focus colours and the busy state come from BusyDialog. A dialog is loaded afresh for each
// opening (Forms::fresh) and shown through windows_ShowModal.
#include "common/BusyDialog.h"

#include <functional>
#include <utility>
#include <vector>

class QAbstractItemView;
class QAction;
class QBoxLayout;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QVBoxLayout;
class ctlQX_3DPanel;

class ToolDialog : public BusyDialog {
    Q_OBJECT
public:
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

    // A box that takes digits only, typed or pasted, with "0" refused where it would begin the
    // number; maxLength 0 leaves the length free. controls_SetNumericFilterOn switches it off
    // and on.
    void useNumberBox(QLineEdit* box, int maxLength = 0);

    // A framed panel holding one label, as tall as a caption bar: a heading, or the
    // "Options »" panel.
    ctlQX_3DPanel* labelPanel(const QString& objectName, QLabel* label);
    // The row above a list in the body: its heading in one such panel ("qxpTop") and the
    // "Options »" link ("lblOptions", pointing hand) in another ("qxpOptions").
    struct HeadingRow {
        ctlQX_3DPanel* qxpTop;
        QLabel* lblOptions;
        ctlQX_3DPanel* qxpOptions;
    };
    HeadingRow addHeadingRow(QLabel* heading);
    // The dialog's pop-up menu: a left press on `panel` opens it below the panel, the
    // context-menu key in `list` at the list's top left and a right press in the list at the
    // pointer, on the row under it. `beforePopup` runs first (it enables the menu's items).
    void useOptionsMenu(QMenu* menu, QWidget* panel, QAbstractItemView* list, std::function<void()> beforePopup = {});

    // A key the dialog takes wherever the focus is, before its controls see it (not while
    // busy). `key` holds the modifiers that must be held with it, exactly (Qt::ALT | Qt::Key_Up);
    // with AnyModifiers it is taken whatever is held. Covers the controls the dialog has when
    // first called.
    static constexpr Qt::KeyboardModifiers AnyModifiers = Qt::KeyboardModifierMask;
    void useDialogKey(QKeyCombination key, std::function<void()> command);
    // A menu item's key: the item runs only while it is enabled; the key is taken either way.
    void useDialogKey(QKeyCombination key, QAction* item);

    // Shown the first time, a dialog without a list or text area keeps the size its controls
    // give it: there is nothing it could show in more room.
    void setVisible(bool visible) override;

    // The font the tool dialogs use: Tahoma 8.25 pt, or the nearest the system has. Where
    // Tahoma is missing, fontconfig gives the desktop's sans-serif (DejaVu Sans, Noto Sans,
    // Cantarell), taller than Tahoma: the dialogs take their heights from its metrics.
    static QFont dialogFont();
    // The look of a link label (web page, mail, update check): blue, underlined, a hand pointer.
    static void useLinkLook(QLabel* label);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Holds the dialog at this size from now on: the window manager then offers neither
    // resizing nor maximising.
    void keepSize(const QSize& size);

private:
    void popupOptions(const QPoint& globalPos);
    // The options menu below its panel, as a left press on the panel opens it.
    void showOptionsMenu();

    QVBoxLayout* m_body = nullptr;
    QMenu* m_popup = nullptr;
    QWidget* m_optionsPanel = nullptr;
    QAbstractItemView* m_optionsList = nullptr;
    std::function<void()> m_beforeOptions;
    std::vector<std::pair<QKeyCombination, std::function<void()>>> m_dialogKeys;
    QHBoxLayout* m_buttons = nullptr;
    bool m_sizeChosen = false;
};
