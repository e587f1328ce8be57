// The real program on a desktop whose panel shows the tray menu itself (a status notifier
// watcher on the session bus, the menu read through com.canonical.dbusmenu): the key letters
// travel as the items' shortcuts, so the panel can set them in a column of their own, and the
// labels carry the captions alone. The letters stay the main window's keys, each running its
// command once, and bind nothing anywhere else.
#include "support/Mp3Maker.h"
// After the above: Xlib's macros would clash with their names.
#include "e2e/DesktopFixture.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QMutex>
#include <QMutexLocker>

namespace {

using desktopsession::waitFor;

// A session bus of the test's own, that starts no services on demand.
class PrivateBus {
public:
    ~PrivateBus()
    {
        if (m_daemon.state() == QProcess::NotRunning) return;
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(2000);
        }
    }
    bool start(const QString& folder, QString* why)
    {
        const QString config = folder + QStringLiteral("/bus.conf");
        QFile f(config);
        const QByteArray text = "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                                " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                "<busconfig><type>session</type><listen>unix:path="
                                + QFile::encodeName(folder) + "/bus</listen><auth>EXTERNAL</auth>"
                                "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return *why = QStringLiteral("cannot write ") + config, false;
        f.close();
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                                                       QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted(10000)) return *why = m_daemon.errorString(), false;
        QDeadlineTimer deadline(10000);
        while (!m_daemon.canReadLine() && !deadline.hasExpired()) m_daemon.waitForReadyRead(100);
        address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
        if (address.isEmpty()) *why = QString::fromLocal8Bit(m_daemon.readAllStandardError());
        return !address.isEmpty();
    }
    QString address;

private:
    QProcess m_daemon;
};

// What a panel's tray puts on the bus: it watches for items and says a host shows them.
class StandInWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredStatusNotifierItems)
public:
    bool isStatusNotifierHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList registeredStatusNotifierItems() const
    {
        QMutexLocker lock(&m_mutex);
        QStringList out;
        for (const auto& [service, path] : m_items) out << service + path;
        return out;
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_items.clear();
    }
    // Where the registered items are: each one's bus name and object path.
    QList<std::pair<QString, QString>> items() const
    {
        QMutexLocker lock(&m_mutex);
        return m_items;
    }

public slots:
    // An item names its bus name (or only its path, on the caller's own name).
    void RegisterStatusNotifierItem(const QString& serviceOrPath, const QDBusMessage& message)
    {
        QMutexLocker lock(&m_mutex);
        if (serviceOrPath.startsWith(u'/')) m_items.append({message.service(), serviceOrPath});
        else m_items.append({serviceOrPath, QStringLiteral("/StatusNotifierItem")});
    }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    mutable QMutex m_mutex;
    QList<std::pair<QString, QString>> m_items;
};

// One entry of an exported menu, as com.canonical.dbusmenu's GetLayout gives it.
struct MenuEntry {
    int id = 0;
    QVariantMap properties;
    QList<MenuEntry> children;
};

MenuEntry readEntry(const QDBusArgument& arg)
{
    MenuEntry entry;
    arg.beginStructure();
    arg >> entry.id >> entry.properties;
    arg.beginArray();
    while (!arg.atEnd()) {
        QDBusVariant child;
        arg >> child;
        entry.children.append(readEntry(qvariant_cast<QDBusArgument>(child.variant())));
    }
    arg.endArray();
    arg.endStructure();
    return entry;
}

// The "shortcut" property: one list of key names per key of the sequence.
QList<QStringList> shortcutOf(const MenuEntry& entry)
{
    QList<QStringList> keys;
    const QVariant v = entry.properties.value(QStringLiteral("shortcut"));
    if (v.canConvert<QDBusArgument>()) qvariant_cast<QDBusArgument>(v) >> keys;
    return keys;
}

std::string printed(const QList<QStringList>& keys)
{
    QStringList out;
    for (const QStringList& key : keys) out << u'[' + key.join(u',') + u']';
    return (u'[' + out.join(u',') + u']').toStdString();
}

class TrayMenuExport : public desktopsession::Desktop {
protected:
    TrayMenuExport() { withNotificationArea = false; }

    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(busFolder.isValid());
        QString why;
        ASSERT_TRUE(bus.start(busFolder.path(), &why)) << why.toStdString();
        // The program (started from this environment) finds the panel's tray there.
        m_hadAddress = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
        m_oldAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address.toLocal8Bit());

        QDBusConnection connection = QDBusConnection::connectToBus(bus.address, kConnection);
        ASSERT_TRUE(connection.isConnected()) << connection.lastError().message().toStdString();
        // The watcher answers from a thread of its own: the test waits without an event loop.
        watcher = new StandInWatcher;
        watcher->moveToThread(&watcherThread);
        watcherThread.start();
        ASSERT_TRUE(connection.registerObject(QStringLiteral("/StatusNotifierWatcher"), watcher,
                                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(connection.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
        Desktop::SetUp();
    }

    void TearDown() override
    {
        Desktop::TearDown();
        // The watcher goes before the connection it is registered on.
        connection().unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
        if (watcher) QMetaObject::invokeMethod(watcher, [w = watcher] { delete w; }, Qt::BlockingQueuedConnection);
        watcherThread.quit();
        watcherThread.wait();
        QDBusConnection::disconnectFromBus(kConnection);
        if (m_hadAddress) qputenv("DBUS_SESSION_BUS_ADDRESS", m_oldAddress);
        else qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }

    QDBusConnection connection() const { return QDBusConnection(kConnection); }

    // The program's tray menu as the panel reads it: the item's Menu object, laid out whole.
    bool exportedTrayMenu(MenuEntry* root, QString* why)
    {
        if (!waitFor([&] { return !watcher->items().isEmpty(); }, 20000)) return *why = QStringLiteral("no item was registered"), false;
        const auto [service, path] = watcher->items().constLast();
        QDBusMessage get = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("Menu");
        QDBusObjectPath menu;
        // The menu is given to the item a moment after the item is registered.
        const bool found = waitFor(
            [&] {
                const QDBusMessage reply = connection().call(get);
                if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
                menu = qvariant_cast<QDBusObjectPath>(qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant());
                return !menu.path().isEmpty() && menu.path() != QLatin1String("/");
            },
            10000);
        if (!found) return *why = QStringLiteral("the item has no menu"), false;
        QDBusMessage layout = QDBusMessage::createMethodCall(service, menu.path(), QStringLiteral("com.canonical.dbusmenu"),
                                                             QStringLiteral("GetLayout"));
        layout << 0 << -1 << QStringList();
        const bool read = waitFor(
            [&] {
                const QDBusMessage reply = connection().call(layout);
                if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2) {
                    *why = reply.errorMessage();
                    return false;
                }
                *root = readEntry(qvariant_cast<QDBusArgument>(reply.arguments().at(1)));
                return root->children.size() > 10;
            },
            10000);
        if (!read && why->isEmpty()) *why = QStringLiteral("the menu stayed empty");
        return read;
    }

    static constexpr const char* kConnection = "tray-menu-export";
    QTemporaryDir busFolder;
    PrivateBus bus;
    QThread watcherThread;
    StandInWatcher* watcher = nullptr;

private:
    bool m_hadAddress = false;
    QByteArray m_oldAddress;
};

TEST_F(TrayMenuExport, TheTrayMenuHandsItsKeysToThePanelAsShortcuts)
{
    ASSERT_TRUE(startOnDesktop({})) << player.readAll().constData();
    MenuEntry root;
    QString why;
    ASSERT_TRUE(exportedTrayMenu(&root, &why)) << why.toStdString() << player.readAll().constData();

    // The label as dbusmenu writes it (mnemonic "_"), and the key.
    const struct {
        const char* label;
        const char* key;
    } items[] = {
        {"Pre_vious", "V"}, {"_Rewind", "R"}, {"_Play", "P"}, {"Pa_use", "U"}, {"_Stop", "S"},
        {"Rando_m", "M"},   {"_Fast Forward", "F"}, {"_Next", "N"}, {"Next (_Advanced)", "A"},
    };
    for (const auto& [label, key] : items) {
        SCOPED_TRACE(label);
        const MenuEntry* entry = nullptr;
        for (const MenuEntry& e : std::as_const(root.children))
            if (e.properties.value(QStringLiteral("label")).toString().section(u'\t', 0, 0) == QLatin1String(label)) entry = &e;
        ASSERT_NE(entry, nullptr) << "not in the exported menu";
        EXPECT_EQ(entry->properties.value(QStringLiteral("label")).toString().toStdString(), label);
        EXPECT_EQ(printed(shortcutOf(*entry)), std::string("[[") + key + "]]");
    }
    // Items without a key carry none.
    for (const MenuEntry& e : std::as_const(root.children)) {
        if (e.properties.value(QStringLiteral("label")).toString() == QLatin1String("_Open")) {
            EXPECT_FALSE(e.properties.contains(QStringLiteral("shortcut")));
        }
    }

    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// The letters are the main window's keys: with them on, each runs its command once; used for
// artist finding, they select rows and run nothing. The tray menu's items take no key for
// themselves, and the window's own shortcuts still work (Delete removes the selected row).
TEST_F(TrayMenuExport, TheLettersRunTheMainWindowsCommandsOnceAndNothingElse)
{
    QStringList songs;
    const char* artists[] = {"Ann", "Nick", "Pat", "Vic"};
    for (const char* artist : artists) {
        songs << home.filePath(QStringLiteral("%1.mp3").arg(QLatin1String(artist)));
        ASSERT_TRUE(mp3maker::makeMp3(songs.last(), {.artist = QString::fromLatin1(artist), .title = QStringLiteral("Song"), .seconds = 120, .id3v1 = true}));
    }
    // Each key, and whose song it plays (none: it only selects a row).
    struct Press {
        KeySym key;
        const char* plays;
    };
    const struct {
        const char* how;
        QByteArray settings;
        std::vector<Press> presses;   // Ann's song playing, her row selected
        bool deleteLast;   // Down and Delete: the row after the one playing (Vic's) is removed
    } cases[] = {
        {"as shortcut keys", "[Settings]\r\nRememberTheConsoleLogs=1\r\n",
         {{XK_n, "Nick"}, {XK_n, "Pat"}, {XK_v, "Nick"}, {XK_a, "Pat"}, {XK_p, "Pat"}}, true},
        {"for artist finding", "[Settings]\r\nRememberTheConsoleLogs=1\r\nKeysUseAsArtistFindingKeys=1\r\n",
         {{XK_v, nullptr}, {XK_Return, "Vic"}, {XK_p, nullptr}, {XK_Return, "Pat"}, {XK_n, nullptr}, {XK_Return, "Nick"},
          {XK_a, nullptr}, {XK_Return, "Ann"}},
         false},
    };
    const auto played = [&] {
        QStringList names;
        for (const QByteArray& line : mp3maker::readBytes(home.filePath(QStringLiteral("console.log"))).split('\n'))
            if (line.startsWith("Played ")) names << QString::fromUtf8(line.mid(7)).section(QStringLiteral(" - "), 0, 0);
        return names;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QFile::remove(home.filePath(QStringLiteral("console.log")));
        QFile::remove(home.filePath(QStringLiteral("Playlists/default.spp")));
        watcher->clear();
        ASSERT_TRUE(startOnDesktop(c.settings, songs)) << player.readAll().constData();
        MenuEntry root;
        QString why;
        ASSERT_TRUE(exportedTrayMenu(&root, &why)) << why.toStdString();   // the tray items hold their keys by now
        ASSERT_TRUE(focusMain());

        Typist typist(server.display());
        QStringList expected;   // start-up logs nothing of the song it plays
        for (const auto& [key, plays] : c.presses) {
            typist.tap(key);
            if (plays) {
                expected << QString::fromLatin1(plays);
                EXPECT_TRUE(waitFor([&] { return played().size() >= expected.size(); }, 10000)) << "key " << key;
            } else {
                QThread::msleep(300);   // a row is found; nothing may play meanwhile
            }
        }
        QThread::msleep(1000);   // a second run of any command would show by now
        EXPECT_EQ(played().join(u',').toStdString(), expected.join(u',').toStdString());

        if (c.deleteLast) {
            typist.tap(XK_Down);
            typist.tap(XK_Delete);
            QThread::msleep(500);
        }
        EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
        const QByteArray saved = mp3maker::readBytes(home.filePath(QStringLiteral("Playlists/default.spp")));
        for (int i = 0; i < songs.size(); ++i)
            EXPECT_EQ(saved.contains(QFile::encodeName(songs[i])), !(c.deleteLast && i == 3)) << songs[i].toStdString();
    }
}

} // namespace

#undef Bool   // Xlib's: the meta-object names Qt's own type so
#include "test_TrayMenuExport.moc"

#endif // VELTRA_HAVE_XVFB_SESSION
