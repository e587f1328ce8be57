// Starts the program as `veltra` does (real start-up, Qt dialogs) on a temporary program
// folder with a few generated songs, opens every window one after the other through the
// command that opens it, saves a picture of each and prints what a keyboard user meets:
// the focus on opening, the tab order, access keys used twice, texts wider than their
// control, a window outside the screen, and whether Escape closes it.
// Usage: veltra_windowsurvey OUTPUT_FOLDER [NAME ...]
#include "common/modSettings.h"
#include "common/modControls.h"
#include "common/modWindows.h"
#include "extras/FrmCDPlayer.h"
#include "extras/FrmMini.h"
#include "library/FrmLyrics.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMenus.h"
#include "platform/QtUiServices.h"
#include "mainwindow/FrmMain.h"
#include "player/FrmVideo.h"
#include "preferences/FrmOptions.h"
#include "preferences/FrmPreferences.h"
#include "library/FrmEditTag.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <set>

namespace {

QString describe(QWidget* w)
{
    if (!w) return QStringLiteral("(none)");
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text);
}

QChar accessKey(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

void survey(QWidget* w, const QString& name, const QString& folder)
{
    std::printf("=== %s: \"%s\" %dx%d at %d,%d\n", qPrintable(name), qPrintable(w->windowTitle()), w->width(), w->height(),
                w->frameGeometry().x(), w->frameGeometry().y());
    w->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    const QRect screen = w->screen()->availableGeometry();
    if (!screen.contains(w->frameGeometry())) std::printf("  OFF SCREEN: frame %d,%d %dx%d, screen %dx%d\n", w->frameGeometry().x(),
                                                          w->frameGeometry().y(), w->frameGeometry().width(), w->frameGeometry().height(),
                                                          screen.width(), screen.height());
    std::printf("  focus: %s (window's own: %s, active %d, active window %s)\n", qPrintable(describe(QApplication::focusWidget())),
                qPrintable(describe(w->focusWidget())), int(w->isActiveWindow()), qPrintable(describe(QApplication::activeWindow())));
    // Tab chain.
    QStringList chain;
    for (QWidget* c = w->nextInFocusChain(); c && c != w; c = c->nextInFocusChain()) {
        if (!w->isAncestorOf(c) || !c->isVisibleTo(w) || !c->isEnabled() || !(c->focusPolicy() & Qt::TabFocus)) continue;
        if (c->window() != w) continue;
        const QPoint p = c->mapTo(w, QPoint(0, 0));
        chain << QStringLiteral("%1(%2,%3)").arg(c->objectName().isEmpty() ? QString::fromLatin1(c->metaObject()->className()) : c->objectName())
                     .arg(p.x()).arg(p.y());
    }
    for (QWidget* c : w->findChildren<QAbstractButton*>())
        if (c->isVisibleTo(w) && !chain.join(QString()).contains(c->objectName()))
            std::printf("  NOT IN TAB CHAIN? %s policy %d enabled %d\n", qPrintable(describe(c)), int(c->focusPolicy()), int(c->isEnabled()));
    std::printf("  tab: %s\n", qPrintable(chain.join(QStringLiteral(" > "))));
    // Access keys in the window's own scope.
    std::map<QChar, QStringList> keys;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->window() != w || !c->isVisibleTo(w)) continue;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(c)) text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(c); l && l->buddy()) text = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(c)) text = g->title();
        if (auto* t = qobject_cast<QTabBar*>(c))
            for (int i = 0; i < t->count(); ++i)
                if (QChar k = accessKey(t->tabText(i)); !k.isNull()) keys[k] << t->tabText(i);
        if (QChar k = accessKey(text); !k.isNull()) keys[k] << (c->objectName() + QLatin1Char(':') + text);
        if (auto* l = qobject_cast<QLabel*>(c); l && !l->buddy() && l->textFormat() != Qt::RichText && !accessKey(l->text()).isNull())
            std::printf("  LABEL without buddy shows an access key: \"%s\"\n", qPrintable(l->text()));
        if (auto* b = qobject_cast<QPushButton*>(c); b && b->isDefault())
            std::printf("  default: %s\n", qPrintable(b->text()));
        // Texts wider than their control.
        if (auto* l = qobject_cast<QLabel*>(c); l && !l->wordWrap() && !l->text().isEmpty() && l->pixmap().isNull()) {
            const int need = l->fontMetrics().horizontalAdvance(l->text().remove(QLatin1Char('&')).section(QLatin1Char('\n'), 0, 0));
            if (need > l->contentsRect().width() + 1) std::printf("  CLIPPED label %s \"%s\": needs %d has %d\n", qPrintable(l->objectName()),
                                                                  qPrintable(l->text()), need, l->contentsRect().width());
        }
        if (auto* b = qobject_cast<QAbstractButton*>(c); b && !b->text().isEmpty()) {
            if (b->sizeHint().width() > b->width() + 2 || b->sizeHint().height() > b->height() + 4)
                std::printf("  CLIPPED? button %s \"%s\": hint %dx%d has %dx%d\n", qPrintable(b->objectName()), qPrintable(b->text()),
                            b->sizeHint().width(), b->sizeHint().height(), b->width(), b->height());
        }
        // A control outside its parent.
        if (QWidget* p = c->parentWidget(); p && p != w && !qobject_cast<QMenu*>(c) && c->isVisibleTo(w) && c->width() > 0
            && !p->rect().contains(c->geometry()) && !p->inherits("QAbstractScrollArea") && !p->inherits("QScrollArea"))
            std::printf("  OUTSIDE parent: %s %d,%d %dx%d in %s %dx%d\n", qPrintable(describe(c)), c->x(), c->y(), c->width(), c->height(),
                        qPrintable(p->objectName()), p->width(), p->height());
    }
    if (auto* mw = w->findChild<QMenuBar*>(); mw && mw->window() == w)
        for (QAction* a : mw->actions())
            if (a->isVisible())
                if (QChar k = accessKey(a->text()); !k.isNull()) keys[k] << (QStringLiteral("menu:") + a->text());
    for (const auto& [k, list] : keys)
        if (list.size() > 1) std::printf("  ACCESS KEY %c twice: %s\n", char(k.unicode()), qPrintable(list.join(QStringLiteral(" | "))));
    // Each menu's own items.
    for (QMenu* m : w->findChildren<QMenu*>()) {
        std::map<QChar, QStringList> mk;
        for (QAction* a : m->actions())
            if (a->isVisible() && !a->isSeparator())
                if (QChar k = accessKey(a->text()); !k.isNull()) mk[k] << a->text();
        for (const auto& [k, list] : mk)
            if (list.size() > 1)
                std::printf("  MENU %s: key %c twice: %s\n", qPrintable(m->title()), char(k.unicode()), qPrintable(list.join(QStringLiteral(" | "))));
    }
}

struct Step {
    QString name;
    std::function<void()> open;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltra"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [NAME ...]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QSet<QString> only;
    for (int i = 2; i < argc; ++i) only.insert(QString::fromLocal8Bit(argv[i]));
    QDir().mkpath(folder);
    const QString home = qEnvironmentVariable("VELTRA_HOME");
    QStringList songs;
    for (int i = 1; i <= 4; ++i) {
        const QString path = home + QStringLiteral("/Music/Song %1.mp3").arg(i);
        QDir().mkpath(home + QStringLiteral("/Music"));
        mp3maker::makeMp3(path, {.artist = QStringLiteral("Artist %1").arg(i), .title = QStringLiteral("Title %1").arg(i),
                                 .year = QStringLiteral("2001"), .seconds = 3, .id3v1 = true});
        songs << path;
    }
    veltra::QtUiServices services;
    veltra::setUiServices(&services);
    startup::setArguments(songs);
    if (Main() != StartResult::Running) return 1;
    FrmMain& main = forms().get<FrmMain>();
    auto select = [&main] { controls_SelectItem(main.rows(), 1); };

    const std::vector<Step> steps = {
        {"main", [] {}},
        {"mainbigfont", [&] { for (int i = 0; i < 6; ++i) main.mnuFontsizeIncrease_Click(); }},
        {"jumptotime", [&] { main.mnuJumpToTime_Click(); }},
        {"jumptonumber", [&] { main.mnuJumpToTrackNumber_Click(); }},
        {"jumptomedia", [&] { main.mnuJumpToMedia_Click(); }},
        {"generate", [&] { main.mnuGeneratePlaylist_Click(); }},
        {"randomsongs", [&] { main.mnuUseRandomSongsForPlaylist_Click(); }},
        {"manageplaylists", [&] { main.mnuManagePlaylists_Click(); }},
        {"renameplaylist", [&] { main.mnuRenameCurrentPlaylist_Click(); }},
        {"editbookmarks", [&] { main.mnuEditBookmarks_Click(); }},
        {"addlocation", [&] { main.mnuAddLocation_Click(); }},
        {"editmoods", [&] { main.mnuEditMoods_Click(); }},
        {"properties", [&] { select(); main.mnuProperties_Click(); }},
        {"masstag", [&] { main.mnuPlaylistEditAllTags_Click(); }},
        {"massrename", [&] { main.mnuPlaylistRenameAllFilenames_Click(); }},
        {"movetofolder", [&] { main.mnuPlaylistMoveMusicToFolder_Click(); }},
        {"renamefile", [&] { select(); main.mnuSelectedRenameFilename_Click(); }},
        {"queue", [&] { forms().get<FrmMenus>().mnuAdvanced_Click(); }},
        {"volume", [&] { forms().get<FrmMenus>().mnuVolume_Click(); }},
        {"preferences", [&] { main.mnuPreferences_Click(); }},
        {"prefs1", [&] { QTimer::singleShot(300, [] { forms().get<FrmPreferences>().lblSection_Click(1); }); main.mnuPreferences_Click(); }},
        {"prefs2", [&] { QTimer::singleShot(300, [] { forms().get<FrmPreferences>().lblSection_Click(2); }); main.mnuPreferences_Click(); }},
        {"prefs3", [&] { QTimer::singleShot(300, [] { forms().get<FrmPreferences>().lblSection_Click(3); }); main.mnuPreferences_Click(); }},
        {"prefs5", [&] { QTimer::singleShot(300, [] { forms().get<FrmPreferences>().lblSection_Click(5); }); main.mnuPreferences_Click(); }},
        {"prefs7", [&] { QTimer::singleShot(300, [] { forms().get<FrmPreferences>().lblSection_Click(7); }); main.mnuPreferences_Click(); }},
        {"prefs8", [&] { QTimer::singleShot(300, [] { forms().get<FrmPreferences>().lblSection_Click(8); }); main.mnuPreferences_Click(); }},
        {"tag2", [&] { QTimer::singleShot(300, [] { forms().get<FrmEditTag>().lblSection_Click(1); }); select(); main.mnuProperties_Click(); }},
        {"options", [&] { windows_ShowModal(forms().get<FrmOptions>(), &main, true); }},
        {"updates", [&] { main.mnuCheckForUpdates_Click(); }},
        {"about", [&] { main.mnuAbout_Click(); }},
        {"console", [&] { main.mnuConsole_Click(); }},
        {"tracking", [&] { main.mnuTracking_Click(); }},
        {"volumes", [&] { main.mnuVolumes_Click(); }},
        {"trackingfromcorner", [&] {
             main.setGeometry(main.screen()->availableGeometry().right() - 320, main.screen()->availableGeometry().bottom() - 170, 300, 150);
             main.activateWindow();
             QApplication::processEvents();
             main.mnuTracking_Click();
         }},
        {"lyrics", [&] { forms().get<FrmLyrics>().show(); }},
        {"video", [&] { forms().get<FrmVideo>().show(); }},
        {"cdplayer", [&] { main.mnuOpenCDPlayer_Click(); }},
        {"library", [&] { main.mnuOpenMediaLibrary_Click(); }},
        {"mini", [&] { main.mnuSwitchToMiniMode_Click(); }},
    };

    auto index = std::make_shared<size_t>(0);
    auto next = std::make_shared<std::function<void()>>();
    *next = [&, index, next] {
        while (*index < steps.size() && !only.isEmpty() && !only.contains(steps[*index].name)) ++*index;
        if (*index >= steps.size()) {
            QTimer::singleShot(0, &app, [] { QApplication::exit(0); });
            return;
        }
        const Step& step = steps[(*index)++];
        std::set<QWidget*> before;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && step.name != QLatin1String("main")) before.insert(t);
        QTimer::singleShot(900, &app, [&, before, step, next] {
            QWidget* shown = QApplication::activeModalWidget();
            if (step.name.startsWith(QLatin1String("main"))) shown = &forms().get<FrmMain>();
            if (!shown)
                for (QWidget* t : QApplication::topLevelWidgets())
                    if (t->isVisible() && !before.count(t) && !qobject_cast<QMenu*>(t) && t->windowType() != Qt::ToolTip) shown = t;
            if (!shown) {
                std::printf("=== %s: NO WINDOW\n", qPrintable(step.name));
            } else {
                survey(shown, step.name, folder);
                if (!step.name.startsWith(QLatin1String("main"))) {
                    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : shown;
                    QTest::keyClick(target, Qt::Key_Escape);
                    QApplication::processEvents();
                    if (shown->isVisible()) {
                        std::printf("  ESCAPE does not close it\n");
                        shown->close();
                        if (shown->isVisible()) shown->hide();
                    }
                }
            }
            QTimer::singleShot(300, &app, *next);
        });
        step.open();
    };
    QTimer::singleShot(1500, &app, *next);
    const int code = QApplication::exec();
    forms().unloadAll();
    veltra::setUiServices(nullptr);
    return code;
}
