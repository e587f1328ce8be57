#include "common/modWindows.h"

#include "common/modSettings.h"
#include "common/modVB.h"
#include "platform/SoundDevice.h"
#include "platform/TaskbarEntry.h"
#include "platform/UiServices.h"
#include "platform/WindowPlace.h"

#include <QAction>
#include <QApplication>
#include <QRect>
#include <QGuiApplication>
#include <QMenu>
#include <QNetworkInterface>
#include <QPointer>
#include <QScreen>
#include <QSysInfo>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

using namespace veltra;

bool modalWindowOpen = false;

namespace {
bool screenSaverEnabled = true;
// Modal displays open now: one over another (a box over a modal window) ends first.
int modalDisplays = 0;

std::function<bool()>& connectionCheck()
{
    static std::function<bool()> check;
    return check;
}

std::function<void(QWidget*)>& formUnloader()
{
    static std::function<void(QWidget*)> unload;
    return unload;
}

QScreen* screen() { return QGuiApplication::primaryScreen(); }

// Windows shown in front of the window they were opened from, which stay on top while it does.
struct Companion {
    QPointer<QWidget> window;
    QPointer<QWidget> opener;
};
std::vector<Companion>& companions()
{
    static std::vector<Companion> all;
    return all;
}

bool ownItemChecked(QWidget* form)
{
    const QAction* item = windows_AlwaysOnTopItem(form);
    return item && item->isChecked();
}

// The window's opener, while it stays on top.
bool openerOnTop(const QWidget* form)
{
    for (const Companion& c : companions())
        if (c.window == form) return c.opener && windows_IsAlwaysOnTop(c.opener);
    return false;
}

// Topmost or ordinary, this window alone.
void applyOnTop(QWidget* form, bool onTop)
{
    // A change may give the window a new native window at its next showing, which is to stand
    // where the window was last seen: that is followed from the first call on.
    windowplace::followPlace(form);
    Qt::WindowFlags flags = form->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* handle = form->windowHandle()) {
        // A window that exists keeps its place, size and visibility: only the flag changes.
        form->overrideWindowFlags(flags);
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        windowplace::keepPlaceAtNextShow(form);
    } else {
        const bool hidden = form->isHidden();
        form->setWindowFlags(flags);
        if (!hidden) form->show();
    }
}

// Runs `show` as a modal display over `owner`: the flag is set meanwhile, and the owner and
// every other shown window kept on top by its own Always On Top item step down, so that the
// modal window cannot open out of sight under one of them; all is put back whatever way the
// display ends. One display inside another leaves the flag and the windows to the outer one.
template <class Show>
void runAsModal(QWidget* owner, Show&& show)
{
    struct Lowered {
        QPointer<QWidget> window;
        QPointer<QAction> item;
    };
    std::vector<Lowered> lowered;
    const auto lower = [&lowered](QWidget* w) {
        QAction* item = windows_AlwaysOnTopItem(w);
        if (!item || !item->isChecked() || !windows_IsAlwaysOnTop(w)) return;
        windows_SetAlwaysOnTop(w, false);
        lowered.push_back({w, item});
    };
    if (owner) lower(owner);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != owner && w->isVisible()) lower(w);
    modalWindowOpen = ++modalDisplays > 0;
    struct Restore {
        std::vector<Lowered>& lowered;
        ~Restore()
        {
            modalWindowOpen = --modalDisplays > 0;
            // Back on top unless the dialog itself switched the item off meanwhile.
            for (const Lowered& l : lowered)
                if (l.window && (!l.item || l.item->isChecked())) windows_SetAlwaysOnTop(l.window, true);
        }
    } restore{lowered};
    show();
}

const QString kTop = QStringLiteral("Window_Top");
const QString kLeft = QStringLiteral("Window_left");
const QString kHeight = QStringLiteral("Window_Height");
const QString kWidth = QStringLiteral("Window_Width");
const QString kMaximized = QStringLiteral("Window_Maximized");

// A stored number, or the default when the key is missing or holds no number.
double readTwips(const QString& section, const QString& key, double fallback)
{
    bool ok = false;
    const double v = vb::ToDouble(settings_ReadValue(section, key, fallback), &ok);
    return ok ? v : fallback;
}

void placeTwips(QWidget* form, double left, double top, double width, double height)
{
    form->move(vb::TwipsToPixels(left), vb::TwipsToPixels(top));
    form->resize(std::max(0, vb::TwipsToPixels(width)), std::max(0, vb::TwipsToPixels(height)));
}

} // namespace

namespace windows {
int screenWidthTwips()
{
    QScreen* s = screen();
    return s ? int(vb::PixelsToTwips(s->geometry().width())) : 0;
}

int screenHeightTwips()
{
    QScreen* s = screen();
    return s ? int(vb::PixelsToTwips(s->geometry().height())) : 0;
}
} // namespace windows

QAction* windows_AlwaysOnTopItem(QWidget* owner)
{
    if (!owner) return nullptr;
    const QList<QAction*> items = owner->findChildren<QAction*>(QStringLiteral("mnuAlwaysOnTop"));
    for (QAction* a : items) {
        // The item belongs to the window it lives in; menus on the way up do not count.
        for (QObject* o = a->parent(); o; o = o->parent()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || qobject_cast<QMenu*>(w)) continue;
            if (w->isWindow()) {
                if (w == owner) return a;
                break;
            }
        }
    }
    return nullptr;
}

void windows_ShowModal(QWidget& form, QWidget* owner, bool unloadAfter)
{
    runAsModal(owner, [&] {
        ui().runModal(&form, owner);
        if (unloadAfter && formUnloader()) formUnloader()(&form);
    });
}

void windows_ShowModal(QWidget& form, QWidget& owner, bool unloadAfter) { windows_ShowModal(form, &owner, unloadAfter); }

void windows::setFormUnloader(std::function<void(QWidget*)> unload) { formUnloader() = std::move(unload); }

void windows_ShowAboutWindows(QWidget* owner, const QString& title, const QString& text)
{
    runAsModal(owner, [&] {
        msgBox(windows_GetOSName() + QStringLiteral("\r\n\r\n") + text, MsgButtons::OK, MsgIcon::Information,
               QStringLiteral("About ") + title);
    });
}

void windows_SetAlwaysOnTop(QWidget* form, bool onTop)
{
    if (!form) return;
    applyOnTop(form, onTop || openerOnTop(form));
    for (const Companion& c : companions())
        if (c.opener == form && c.window) applyOnTop(c.window, onTop || ownItemChecked(c.window));
}

void windows_ShowInFront(QWidget* form, QWidget* opener)
{
    if (!form) return;
    auto& all = companions();
    std::erase_if(all, [form](const Companion& c) { return !c.window || !c.opener || c.window == form; });
    if (opener && opener != form) {
        all.push_back({form, opener});
        if (windows_IsAlwaysOnTop(opener)) applyOnTop(form, true);
    }
    form->show();
    form->raise();
    form->activateWindow();
}

bool windows_IsAlwaysOnTop(const QWidget* form)
{
    return form && form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void windows_ShowNoActivate(QWidget* form, int mode)
{
    if (!form || mode != 0) return;
    form->setAttribute(Qt::WA_ShowWithoutActivating, true);
    form->show();
}

void windows_RaiseNoActivate(QWidget* form) { windowplace::raiseWithoutFocus(form); }

void windows_SavePosition(QWidget* form, const QString& windowName, int margin)
{
    if (!form) return;
    // As the user left it: a window away from the screen is not as the window system reports it.
    const windowplace::Kept kept = windowplace::kept(form);
    if (kept.state & Qt::WindowMinimized) return;
    const QString section = QStringLiteral("Position_") + windowName;
    if (kept.state & Qt::WindowMaximized) {
        const double top = vb::PixelsToTwips(kept.pos.y());
        const double left = vb::PixelsToTwips(kept.pos.x());
        settings_WriteValue(section, kTop, margin);
        settings_WriteValue(section, kLeft, margin);
        settings_WriteValue(section, kHeight, windows::screenHeightTwips() - top - margin);
        settings_WriteValue(section, kWidth, windows::screenWidthTwips() - left - margin);
        settings_WriteValue(section, kMaximized, QStringLiteral("1"));
        return;
    }
    settings_WriteValue(section, kTop, vb::PixelsToTwips(kept.pos.y()));
    settings_WriteValue(section, kLeft, vb::PixelsToTwips(kept.pos.x()));
    settings_WriteValue(section, kHeight, vb::PixelsToTwips(kept.size.height()));
    settings_WriteValue(section, kWidth, vb::PixelsToTwips(kept.size.width()));
    settings_WriteValue(section, kMaximized, QStringLiteral("0"));
}

void windows_LoadPosition(QWidget* form, const QString& windowName, int margin)
{
    if (!form) return;
    const QString section = QStringLiteral("Position_") + windowName;
    const double screenW = windows::screenWidthTwips();
    const double screenH = windows::screenHeightTwips();
    if (!settings_ReadFlag(section, kMaximized, QStringLiteral("0"))) {
        if (form->isMaximized()) form->setWindowState(form->windowState() & ~Qt::WindowMaximized);
        // Numbers no window can take (a hand edit, a crash) count as missing; what is merely
        // off this screen is brought onto it below.
        constexpr double kFarthest = 10000000;   // twips, beyond any desktop
        auto place = [](double v, double fallback) { return std::abs(v) <= kFarthest ? v : fallback; };   // NaN too
        auto size = [](double v, double fallback) { return v > 0 && v <= kFarthest ? v : std::max(0.0, fallback); };
        const double top = place(readTwips(section, kTop, margin), margin);
        const double left = place(readTwips(section, kLeft, margin), margin);
        const double height = size(readTwips(section, kHeight, screenH - top - margin), screenH - top - margin);
        const double width = size(readTwips(section, kWidth, screenW - left - margin), screenW - left - margin);
        placeTwips(form, left, top, width, height);
        // Saved on a larger or another monitor: brought onto this one.
        windows_FitOnScreen(form);
        return;
    }
    placeTwips(form, margin, margin, screenW - margin - margin, screenH - margin - margin);
    form->setWindowState((form->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void windows_FitOnScreen(QWidget* form)
{
    if (!form) return;
    // The frame counts: move() places it, resize() sizes what lies inside it.
    QRect r = form->frameGeometry();
    const QSize frame = r.size() - form->size();
    QScreen* on = QGuiApplication::screenAt(r.center());
    if (!on) on = screen();
    if (!on) return;
    const QRect area = on->availableGeometry();
    if (area.contains(r)) return;
    r.setSize(r.size().boundedTo(area.size()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() + 1 - r.height()));
    form->move(r.topLeft());
    form->resize(r.size() - frame);
}

void windows_KeepFormOnScreen(QWidget* form)
{
    if (!form) return;
    const double screenW = windows::screenWidthTwips();
    const double screenH = windows::screenHeightTwips();
    double top = vb::PixelsToTwips(form->y());
    double left = vb::PixelsToTwips(form->x());
    if (top >= screenH) top = screenH - vb::PixelsToTwips(form->height()) - 480;
    if (left >= screenW) left = screenW - vb::PixelsToTwips(form->width()) - 480;
    form->move(vb::TwipsToPixels(left), vb::TwipsToPixels(top));
}

void windows_ReCenterForm(QWidget* form, int margin)
{
    if (!form) return;
    if (form->isMaximized()) form->setWindowState(form->windowState() & ~Qt::WindowMaximized);
    const double screenW = windows::screenWidthTwips();
    const double screenH = windows::screenHeightTwips();
    placeTwips(form, margin, margin, screenW - margin - margin, screenH - margin - margin);
}

void windows_PlaceAtBottomRight(QWidget* form, int margin)
{
    if (!form) return;
    const double top = windows::screenHeightTwips() - vb::PixelsToTwips(form->height()) - windows_GetTaskbarOffset() - margin;
    const double left = windows::screenWidthTwips() - vb::PixelsToTwips(form->width()) - margin;
    form->move(vb::TwipsToPixels(left), vb::TwipsToPixels(top));
    windowplace::putFrameCornerAtNextShow(form, form->pos() + QPoint(form->width(), form->height()));
}

int windows_GetTaskbarOffset()
{
    QScreen* s = screen();
    if (!s) return 0;
    const QRect all = s->geometry();
    const QRect work = s->availableGeometry();
    const int strip = (all.y() + all.height()) - (work.y() + work.height());
    return strip > 0 ? int(vb::PixelsToTwips(strip)) : 0;
}

void windows_OpenURL(QWidget*, const QString& address, int)
{
    ui().openUrl(address);
}

void windows_OpenMail(QWidget*, const QString& address, const QString& subject, int)
{
    ui().openUrl(QStringLiteral("mailto:") + address + QStringLiteral("?SUBJECT=") + subject);
}

QString windows_GetOSName() { return QSysInfo::prettyProductName(); }

bool windows_HasSoundCard() { return sounddevice::hasSoundCard(); }

void windows::setConnectionCheck(std::function<bool()> check) { connectionCheck() = std::move(check); }

bool windows_IsConnectedToInternet()
{
    if (connectionCheck()) return connectionCheck()();
    const QList<QNetworkInterface> all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : all) {
        const auto f = i.flags();
        if (!f.testFlag(QNetworkInterface::IsUp) || !f.testFlag(QNetworkInterface::IsRunning)
            || f.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries()) {
            const QHostAddress a = e.ip();
            if (!a.isNull() && !a.isLoopback() && !a.isLinkLocal()) return true;
        }
    }
    return false;
}

void windows_EnableScreenSaver(bool enable) { screenSaverEnabled = enable; }

bool windows_ScreenSaverEnabled() { return screenSaverEnabled; }

QString windows_MessengerText(const QString& firstValue, const QString& secondValue, const QString& category,
                              const QString& thirdValue, const QString& format, bool enabled)
{
    const QString sep = QStringLiteral("\\0");
    return sep + category + sep + (enabled ? QStringLiteral("1") : QStringLiteral("0")) + sep + format + sep + firstValue
           + sep + secondValue + sep + thirdValue + sep + QChar(0);
}

void windows_SendMessengerNowPlaying(const QString& firstValue, const QString& secondValue, const QString& category,
                                     const QString& thirdValue, const QString& format, bool enabled)
{
    // Built for the record; there is no messenger window to receive it.
    (void)windows_MessengerText(firstValue, secondValue, category, thirdValue, format, enabled);
}

QString windows_ThemeManifestText(const QString& programFileName, const QString& programTitle)
{
    const QString q = QStringLiteral("\"");
    const QString in4(4, u' ');
    const QString in8(8, u' ');
    const QString in12(12, u' ');
    const QStringList lines = {
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"),
        QStringLiteral("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"),
        QStringLiteral("<assemblyIdentity"),
        in4 + QStringLiteral("version=\"1.0.0.0\""),
        in4 + QStringLiteral("processorArchitecture=\"X86\""),
        in4 + QStringLiteral("name=") + q + programFileName + q,
        in4 + QStringLiteral("type=\"win32\""),
        QStringLiteral("/>"),
        QStringLiteral("<description>") + programTitle + QStringLiteral(" Windows Theme File</description>"),
        QStringLiteral("<dependency>"),
        in4 + QStringLiteral("<dependentAssembly>"),
        in8 + QStringLiteral("<assemblyIdentity"),
        in12 + QStringLiteral("type=\"win32\""),
        in12 + QStringLiteral("name=\"Microsoft.Windows.Common-Controls\""),
        in12 + QStringLiteral("version=\"6.0.0.0\""),
        in12 + QStringLiteral("processorArchitecture=\"X86\""),
        in12 + QStringLiteral("publicKeyToken=\"6595b64144ccf1df\""),
        in12 + QStringLiteral("language=\"*\""),
        in8 + QStringLiteral("/>"),
        in4 + QStringLiteral("</dependentAssembly>"),
        QStringLiteral("</dependency>"),
        QStringLiteral("</assembly>"),
    };
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void windows_CreateThemeManifest(const QString&, const QString&) {}

void windows_SetTaskbarVisible(QWidget* form, bool visible) { taskbarentry::setHidden(form, !visible); }
