#include "common/modTray.h"

#include "common/modWindows.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPointer>

using namespace veltra;

bool TrayIconLost = false;

namespace {
QSystemTrayIcon*& icon()
{
    static QSystemTrayIcon* i = nullptr;
    return i;
}
QPointer<QWidget>& owner()
{
    static QPointer<QWidget> w;
    return w;
}
QString& tip()
{
    static QString t;
    return t;
}
std::function<tray::Availability()>& availabilityOverride()
{
    static std::function<tray::Availability()> f;
    return f;
}
tray::Routes& routes()
{
    static tray::Routes r;
    return r;
}
QMenu* trayMenu() { return routes().menu ? routes().menu() : nullptr; }

// The tip field holds 256 characters, the last one its end.
QString cutTip(const QString& text) { return text.left(255); }

// Tool tips break lines at LF alone.
QString shownTip(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}
} // namespace

namespace tray {
Availability availability()
{
    if (availabilityOverride()) return availabilityOverride()();
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return Availability::NoDesktop;
    return QSystemTrayIcon::isSystemTrayAvailable() ? Availability::Available : Availability::Missing;
}

void setAvailabilityOverride(std::function<Availability()> check) { availabilityOverride() = std::move(check); }

void setRoutes(Routes r) { routes() = std::move(r); }
} // namespace tray

QSystemTrayIcon* tray_Icon() { return icon(); }
QWidget* tray_Owner() { return owner(); }
QString tray_Tip() { return tip(); }

void tray_AddIcon(const QString& tipText, QWidget* ownerForm, const QIcon& picture)
{
    const tray::Availability where = tray::availability();
    if (where == tray::Availability::Missing) {
        // A desktop without a notification area: no icon for now and nothing to say about it;
        // the tray watch adds the icon once a notification area appears.
        TrayIconLost = true;
        return;
    }
    // One icon at a time: adding again replaces the old one instead of doubling the handling.
    tray_RemoveIcon();
    owner() = ownerForm;
    tip() = cutTip(tipText);

    auto* i = new QSystemTrayIcon(picture);
    icon() = i;
    i->setToolTip(shownTip(tip()));
    QObject::connect(i, &QSystemTrayIcon::activated, i, [](QSystemTrayIcon::ActivationReason r) { tray_WindowProc(r); });

    // Many panels deliver no right click to the program but show the icon's own menu.
    if (QMenu* menu = trayMenu()) {
        i->setContextMenu(menu);
        QObject::connect(menu, &QMenu::aboutToShow, i, [menu] {
            if (modalWindowOpen) QMetaObject::invokeMethod(menu, &QMenu::close, Qt::QueuedConnection);
        });
    }
    if (where == tray::Availability::Available) i->show();
    TrayIconLost = false;
}

void tray_RemoveIcon()
{
    QSystemTrayIcon* i = icon();
    icon() = nullptr;
    owner() = nullptr;
    if (!i) return;
    i->hide();
    i->setContextMenu(nullptr);
    delete i;
}

void tray_SetTip(const QString& text)
{
    tip() = cutTip(text);
    if (icon()) icon()->setToolTip(shownTip(tip()));
}

void tray_SetIcon(const QIcon& picture)
{
    if (icon()) icon()->setIcon(picture);
}

void tray_WindowProc(QSystemTrayIcon::ActivationReason reason)
{
    if (modalWindowOpen) return;
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        if (routes().open) routes().open();
        break;
    case QSystemTrayIcon::Trigger: {
        QWidget* window = routes().frontWindow ? routes().frontWindow() : nullptr;
        if (!window) break;
        if (window->isMinimized() || window->isHidden()) {
            if (routes().open) routes().open();
        } else {
            window->raise();
            window->activateWindow();
        }
        break;
    }
    case QSystemTrayIcon::Context: {
        // Where the panel shows the icon's menu itself, it is not shown a second time.
        if (icon() && icon()->contextMenu()) break;
        if (QMenu* menu = trayMenu()) menu->popup(QCursor::pos());
        break;
    }
    default:
        break;
    }
}
