#include "common/BusyDialog.h"

#include "common/modColours.h"
#include "common/modControls.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

void setBoxColour(QWidget* box, quint32 colour)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colours::toQColor(colour, p));
    box->setPalette(p);
}

} // namespace

BusyDialog::BusyDialog(const QString& objectName, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void BusyDialog::useFocusColours(QWidget* box)
{
    if (!box) return;
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) combo->lineEdit()->installEventFilter(this);
    box->installEventFilter(this);
    box->setProperty("veltraFocusColours", true);
    setBoxColour(box, NormalColour);
}

bool BusyDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto* w = qobject_cast<QWidget*>(watched);
        // An editable combo box's line edit colours its combo box.
        if (w && !w->property("veltraFocusColours").toBool() && w->parentWidget()
            && w->parentWidget()->property("veltraFocusColours").toBool())
            w = w->parentWidget();
        if (w && w->property("veltraFocusColours").toBool()) {
            const bool in = event->type() == QEvent::FocusIn;
            setBoxColour(w, in ? FocusColour : NormalColour);
            auto* combo = qobject_cast<QComboBox*>(w);
            if (combo && combo->lineEdit()) setBoxColour(combo->lineEdit(), in ? FocusColour : NormalColour);
            // Selecting in the focus event itself is undone by the mouse press that follows.
            if (in) {
                if (auto* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(w))
                    QTimer::singleShot(0, edit, [edit] { if (edit->hasFocus()) edit->selectAll(); });
                else if (auto* page = qobject_cast<QPlainTextEdit*>(w))
                    QTimer::singleShot(0, page, [page] { if (page->hasFocus()) page->selectAll(); });
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BusyDialog::setVisible(bool visible)
{
    const bool first = visible && !m_shownOnce;
    if (first) controls_FitOpeningSize(this);
    QDialog::setVisible(visible);
    if (!first) return;
    m_shownOnce = true;
    QWidget* focused = focusWidget();
    if (focused && !qobject_cast<QPushButton*>(focused)) return;   // the dialog chose itself
    // The button row is made before the controls above it, so buttons are passed over.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w) || !w->isVisibleTo(this) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        if (qobject_cast<QPushButton*>(w)) continue;
        w->setFocus(Qt::TabFocusReason);
        return;
    }
}

void BusyDialog::reject()
{
    if (isBusy()) return;
    QDialog::reject();
}

BusyDialog::Busy::Busy(BusyDialog& dialog, Inputs inputs) : m_dialog(dialog)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_dialog.m_busy++ == 0 && inputs == Inputs::Disabled) {
        for (QWidget* w : m_dialog.findChildren<QWidget*>()) {
            const bool input = w->inherits("QAbstractButton") || w->inherits("QLineEdit") || w->inherits("QComboBox")
                || w->inherits("QAbstractItemView") || w->inherits("QAbstractSpinBox");
            if (!input || !w->isEnabled()) continue;
            // A combo box's own line edit follows its combo box.
            if (qobject_cast<QComboBox*>(w->parentWidget())) continue;
            w->setEnabled(false);
            m_disabled.emplace_back(w);
        }
    }
}

BusyDialog::Busy::~Busy()
{
    if (--m_dialog.m_busy == 0)
        for (const QPointer<QWidget>& w : m_disabled)
            if (w) w->setEnabled(true);
    QApplication::restoreOverrideCursor();
}
