#include "library/OrganiseDialog.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QTimer>

OrganiseDialog::OrganiseDialog(const QString& objectName, const QString& title)
{
    setObjectName(objectName);
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void OrganiseDialog::highlightOnFocus(QLineEdit* box) { box->installEventFilter(this); }

bool OrganiseDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const bool in = event->type() == QEvent::FocusIn;
        QPalette p = box->palette();
        p.setColor(QPalette::Base, in ? QColor(230, 230, 250) : QColor(Qt::white));
        box->setPalette(p);
        // after the click that gave the focus has placed the caret
        if (in) QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void OrganiseDialog::reject()
{
    if (!m_running) cmdClose_Click();
}

OrganiseDialog::RunGuard::RunGuard(OrganiseDialog& dialog) : m_dialog(dialog)
{
    m_dialog.m_running = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

OrganiseDialog::RunGuard::~RunGuard()
{
    QApplication::restoreOverrideCursor();
    m_dialog.m_running = false;
}
