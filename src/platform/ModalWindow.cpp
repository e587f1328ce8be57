#include "platform/ModalWindow.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

// Ends the wait at the program's own hide and brings the window back from a minimise.
class Wait : public QObject {
public:
    Wait(QWidget* window, QEventLoop* loop) : m_window(window), m_loop(loop) { window->installEventFilter(this); }
    ~Wait() override
    {
        if (m_window) m_window->removeEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Hide:
            // The window manager's minimise and unmapping come as spontaneous hides.
            if (!event->spontaneous()) m_loop->quit();
            break;
        case QEvent::WindowStateChange:
            if (m_window && m_window->isMinimized()) comeBack();
            break;
        default: break;
        }
        return false;
    }

private:
    void comeBack()
    {
        // Asked now: a window the focus just left still counts as active a moment longer. The
        // focus is asked for once, as it comes back (kwin leaves it with the program it gave it
        // to meanwhile): a window the user left for another program later stays behind it.
        const bool hadKeyboard = m_window->isActiveWindow();
        QTimer::singleShot(0, this, [this, hadKeyboard] {
            if (!m_window || !m_window->isVisible() || !m_window->isMinimized()) return;
            m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
            if (hadKeyboard) m_window->activateWindow();
        });
    }

    QPointer<QWidget> m_window;
    QEventLoop* m_loop;
};

} // namespace

namespace modalwindow {

void run(QWidget* window)
{
    if (!window) return;
    QPointer<QWidget> w(window);
    if (w->isVisible()) w->hide();
    const Qt::WindowModality before = w->windowModality();
    w->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
    {
        Wait wait(w, &loop);
        w->show();
        if (w && w->isVisible()) loop.exec(QEventLoop::DialogExec);
    }
    if (!w) return;
    // Ended from outside (the program quits): hidden before its modality goes.
    if (w->isVisible()) w->hide();
    w->setWindowModality(before);
}

int runDialog(QDialog* dialog)
{
    if (!dialog) return QDialog::Rejected;
    QPointer<QDialog> d(dialog);
    d->setResult(QDialog::Rejected);
    run(d);
    return d ? d->result() : int(QDialog::Rejected);
}

} // namespace modalwindow
