#include "support/TestEnv.h"

#include "common/modSettings.h"
#include "platform/KeyStateSource.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/SoundDevice.h"
#include "startup/Forms.h"
#include "startup/LayerWiring.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

void VeltraTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    qputenv("VELTRA_HOME", dir.path().toUtf8());
    qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/.xdg-data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/.xdg-config")).toUtf8());
    programfolder::setPath(dir.path());
    settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
    veltra::setUiServices(&ui);
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
    veltra::setUiServices(nullptr);
    sounddevice::setOverride(nullptr);
    keystate::setTestSource(nullptr);
    veltra::setMediaPlayerFactory(nullptr);
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
    QDeadlineTimer deadline(ms);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (!deadline.hasExpired());
}
