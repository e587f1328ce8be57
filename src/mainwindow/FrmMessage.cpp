#include "mainwindow/FrmMessage.h"

#include "common/modVB.h"
#include "startup/Forms.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

FrmMessage::FrmMessage()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("FrmMessage"));
    setWindowTitle(QStringLiteral("Please Wait"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    // A raised frame stands in for the window border it does not have.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(vb::TwipsToPixels(240), vb::TwipsToPixels(180), vb::TwipsToPixels(240), vb::TwipsToPixels(180));
    inner->setSpacing(vb::TwipsToPixels(120));

    lblLocation = new QLabel(QStringLiteral("Reading from:"), frame);
    lblLocation->setObjectName(QStringLiteral("lblLocation"));
    QFont bold = lblLocation->font();
    bold.setBold(true);
    lblLocation->setFont(bold);
    lblText = new QLabel(QStringLiteral("Reading each songs ID3 Tag, please wait..."), frame);
    lblText->setObjectName(QStringLiteral("lblText"));
    for (QLabel* label : {lblLocation, lblText}) {
        label->setTextFormat(Qt::PlainText);
        // a long folder is cut at the window's edge rather than widening it off the screen
        label->setMinimumWidth(1);
        inner->addWidget(label);
    }
    setFixedSize(vb::TwipsToPixels(6000), vb::TwipsToPixels(1080));
}

void FrmMessage::showWaiting()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
    repaint();
    // Mapped and painted before the work starts; no command of the user's runs meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FrmMessage::setText(QLabel* label, const QString& text)
{
    if (!label) return;
    label->setText(text);
    if (isVisible()) label->repaint();
}

WaitWindow::WaitWindow(const QString& location, const QString& text)
{
    FrmMessage& window = forms().get<FrmMessage>();
    window.lblLocation->setText(location);
    window.lblText->setText(text);
    window.showWaiting();
}

WaitWindow::~WaitWindow() { forms().unload<FrmMessage>(); }

void WaitWindow::setText(const QString& text)
{
    if (!forms().isLoaded<FrmMessage>()) return;
    FrmMessage& window = forms().get<FrmMessage>();
    window.setText(window.lblText, text);
}

PaintingFrozen::PaintingFrozen(QWidget* window) : m_window(window), m_wasEnabled(window && window->updatesEnabled())
{
    if (m_window) m_window->setUpdatesEnabled(false);
}

PaintingFrozen::~PaintingFrozen()
{
    if (m_window && m_wasEnabled) m_window->setUpdatesEnabled(true);
}
