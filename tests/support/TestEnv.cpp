#include "support/TestEnv.h"

#include "common/modSettings.h"
#include "platform/KeyStateSource.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/SoundDevice.h"
#include "startup/Forms.h"
#include "startup/LayerWiring.h"
#include "startup/modMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

void VeltraTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    qputenv("VELTRA_HOME", dir.path().toUtf8());
    qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/.xdg-data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/.xdg-config")).toUtf8());
    programfolder::setPath(dir.path());
    settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
    veltra::setUiServices(&ui);
    // Every test starts the program without a command line.
    startup::setArguments({});
    startup::CommandLineSwitch = false;
    startup::ShowMinimizedInstead = false;
    sounddevice::setOverride([] { return true; });
    // No test reads the real desktop's keyboard; a test that types installs a fake.
    keystate::setTestSource(std::make_shared<NullKeyStateSource>());
    // Windows that play get the fake player; tests of the real one make it themselves.
    veltra::setMediaPlayerFactory([](QObject* parent) { return new veltra::FakeMediaPlayerControl(parent); });
    // The tray and the modal-dialog routine reach the windows as in the program.
    startup::wireLowerLayers();
}

void VeltraTest::TearDown()
{
    forms().unloadAll();
    endQuit();
    veltra::setUiServices(nullptr);
    sounddevice::setOverride(nullptr);
    keystate::setTestSource(nullptr);
    veltra::setMediaPlayerFactory(nullptr);
}

void endQuit()
{
    // The program ends a quit by leaving its main loop. A test's program never entered it,
    // so Qt's request to quit would stay standing and end every later event loop (a modal
    // dialog's) at once: one turn of the application's loop takes it back.
    startup::clearQuit();
    QEventLoop probe;
    QTimer::singleShot(0, &probe, [&probe] { probe.exit(0); });
    if (probe.exec() != -1) return;   // nothing standing: the loop ran
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

QString VeltraTest::home(const QString& relative) const
{
    return relative.isEmpty() ? dir.path() : dir.path() + u'/' + relative;
}

QString VeltraTest::writeFile(const QString& relative, const QByteArray& bytes) const
{
    const QString path = home(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
    f.write(bytes);
    return path;
}

QByteArray VeltraTest::readFile(const QString& path) const
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void processEvents(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return;
    }
    // Ends on a timer of its own rather than on the clock: timers fire in the order they fall
    // due, so every timer due within the time has fired once this one has, however long one
    // pass over the queued events takes on a loaded machine.
    QObject context;
    bool done = false;
    QTimer::singleShot(ms, Qt::PreciseTimer, &context, [&done] { done = true; });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
