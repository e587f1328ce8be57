#include "common/ToolDialog.h"

#include "common/modControls.h"
#include "common/modVB.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_wLine3D.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Keeps only what a typed key would have let in: digits, no leading "0", the length limit.
QString numericPart(const QString& text, int maxLength)
{
    QString out;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9') continue;
        if (c == u'0' && out.isEmpty()) continue;
        out.append(c);
    }
    if (maxLength > 0 && out.size() > maxLength) out.truncate(maxLength);
    return out;
}

} // namespace

QFont ToolDialog::dialogFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    return font;
}

void ToolDialog::useLinkLook(QLabel* label)
{
    QFont f = label->font();
    f.setUnderline(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 0xFF));
    label->setPalette(p);
    label->setCursor(Qt::PointingHandCursor);
}

ToolDialog::ToolDialog(const QString& objectName, const QString& caption, QWidget* parent) : BusyDialog(objectName, caption, parent)
{
    setFont(dialogFont());

    auto* outer = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    outer->addLayout(m_body);
    outer->addStretch(1);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);
    outer->addLayout(m_buttons);
    // Layouts size every control from its text, so a wider substitute font clips no caption.
    outer->setSizeConstraint(QLayout::SetMinimumSize);

    cmdBack = new QPushButton(QStringLiteral("« &Back"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setEnabled(false);
    cmdBack->setAutoDefault(false);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    m_buttons->addWidget(cmdBack);
    m_buttons->addWidget(cmdClose);
    connect(cmdClose, &QPushButton::clicked, this, [this] { reject(); });
}

void ToolDialog::setVisible(bool visible)
{
    if (visible && !m_sizeChosen) {
        m_sizeChosen = true;
        // A combo box's drop-down list is a window of its own, not part of the dialog.
        const QList<QAbstractScrollArea*> areas = findChildren<QAbstractScrollArea*>();
        const bool grows = std::any_of(areas.begin(), areas.end(), [this](const QAbstractScrollArea* a) { return a->window() == this; });
        // Still sized from the controls' texts, and following them when they change.
        if (!grows) layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    BusyDialog::setVisible(visible);
}

void ToolDialog::keepSize(const QSize& size)
{
    layout()->setSizeConstraint(QLayout::SetNoConstraint);   // else the layout lowers the least size again
    setFixedSize(size);
}

QPushButton* ToolDialog::addActionButton(const QString& objectName, const QString& caption, std::function<void()> handler)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setDefault(true);
    m_buttons->insertWidget(m_buttons->indexOf(cmdClose), button);
    connect(button, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
        if (!isBusy() && handler) handler();
    });
    return button;
}

QWidget* ToolDialog::addSeparator(const QString& objectName)
{
    auto* line = new ctlQX_wLine3D(this);
    line->setObjectName(objectName);
    line->setFixedHeight(vb::TwipsToPixels(255));
    m_body->addWidget(line);
    return line;
}

void ToolDialog::useNumberBox(QLineEdit* box, int maxLength)
{
    if (!box) return;
    controls_FilterNumericKeys(box);
    // The length limit is kept here rather than by the box, which would cut a pasted text
    // before it could be cleaned. A pasted or dropped text bypasses the key filter: it is cut
    // to the digits a user could have typed.
    box->setProperty("veltraBefore", box->text());
    connect(box, &QLineEdit::textChanged, box, [box](const QString& text) { box->setProperty("veltraBefore", text); });
    connect(box, &QLineEdit::textEdited, box, [box, maxLength](const QString& text) {
        if (!controls_NumericFilterOn(box)) return;
        const QString before = box->property("veltraBefore").toString();
        const bool digitsOnly = numericPart(text, 0).size() == text.size() || (text.startsWith(u'0') && text.size() <= before.size());
        QString kept = text;
        if (maxLength > 0 && text.size() > maxLength && text.size() == before.size() + 1 && digitsOnly)
            kept = before;   // one key too many, as a length limit refuses it
        else if (!digitsOnly || (maxLength > 0 && text.size() > maxLength))
            kept = numericPart(text, maxLength);
        if (kept != text) {
            const int caret = std::min(box->cursorPosition(), int(kept.size()));
            box->setText(kept);
            box->setCursorPosition(caret);
        }
    });
}

ctlQX_3DPanel* ToolDialog::labelPanel(const QString& objectName, QLabel* label)
{
    auto* panel = new ctlQX_3DPanel(this);
    panel->setObjectName(objectName);
    panel->setFixedHeight(vb::TwipsToPixels(315));
    label->setParent(panel);
    label->setTextFormat(Qt::PlainText);
    label->move(vb::TwipsToPixels(90), vb::TwipsToPixels(45));
    label->adjustSize();
    panel->setMinimumWidth(label->width() + vb::TwipsToPixels(180));
    return panel;
}

ToolDialog::HeadingRow ToolDialog::addHeadingRow(QLabel* heading)
{
    auto* top = new QHBoxLayout;
    HeadingRow row;
    row.qxpTop = labelPanel(QStringLiteral("qxpTop"), heading);
    row.lblOptions = new QLabel(QStringLiteral("Options »"));
    row.lblOptions->setObjectName(QStringLiteral("lblOptions"));
    row.lblOptions->setCursor(Qt::PointingHandCursor);
    row.qxpOptions = labelPanel(QStringLiteral("qxpOptions"), row.lblOptions);
    top->addWidget(row.qxpTop, 1);
    top->addWidget(row.qxpOptions);
    m_body->addLayout(top);
    return row;
}

void ToolDialog::useOptionsMenu(QMenu* menu, QWidget* panel, QAbstractItemView* list, std::function<void()> beforePopup)
{
    m_popup = menu;
    m_optionsPanel = panel;
    m_optionsList = list;
    m_beforeOptions = std::move(beforePopup);
    menu->setFont(font());   // a menu is a window of its own: it takes no font from its parent
    if (panel) {
        panel->installEventFilter(this);
        for (QWidget* w : panel->findChildren<QWidget*>()) {
            w->installEventFilter(this);
            w->setCursor(Qt::PointingHandCursor);
        }
    }
    if (list) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
}

void ToolDialog::useDialogKey(QKeyCombination key, std::function<void()> command)
{
    if (m_dialogKeys.empty()) {
        installEventFilter(this);
        for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    }
    m_dialogKeys.emplace_back(key, std::move(command));
}

void ToolDialog::useDialogKey(QKeyCombination key, QAction* item)
{
    useDialogKey(key, [item] {
        if (item->isEnabled()) item->trigger();
    });
}

void ToolDialog::popupOptions(const QPoint& globalPos)
{
    if (m_beforeOptions) m_beforeOptions();
    m_popup->popup(globalPos);
}

void ToolDialog::showOptionsMenu()
{
    if (m_popup && m_optionsPanel && !isBusy()) popupOptions(m_optionsPanel->mapToGlobal(QPoint(0, m_optionsPanel->height())));
}

bool ToolDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && !m_dialogKeys.empty()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
        for (const auto& [combination, command] : m_dialogKeys) {
            const Qt::KeyboardModifiers wanted = combination.keyboardModifiers();
            if (key->key() != combination.key() || (wanted != AnyModifiers && held != wanted)) continue;
            if (!isBusy()) command();
            return true;
        }
    }
    if (m_popup && !isBusy()) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress && w) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && m_optionsPanel && (w == m_optionsPanel || m_optionsPanel->isAncestorOf(w))) {
                showOptionsMenu();
                return true;
            }
            if (mouse->button() == Qt::RightButton && m_optionsList && w == m_optionsList->viewport()) {
                // The row under the pointer is chosen first, as a left press would.
                const QModelIndex at = m_optionsList->indexAt(mouse->position().toPoint());
                if (at.isValid()) m_optionsList->setCurrentIndex(at);
                popupOptions(mouse->globalPosition().toPoint());
                return true;
            }
        }
        if (event->type() == QEvent::KeyPress && w == m_optionsList && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu) {
            popupOptions(m_optionsList->mapToGlobal(QPoint(0, 0)));
            return true;
        }
    }
    return BusyDialog::eventFilter(watched, event);
}
