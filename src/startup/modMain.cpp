#include "startup/modMain.h"

#include "common/FrmConsole.h"
#include "common/modFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "extras/FrmTracking.h"
#include "library/FrmLyrics.h"
#include "mainwindow/FrmMenus.h"
#include "platform/ProgramFolder.h"
#include "platform/SessionEnd.h"
#include "platform/UiServices.h"
#include "player/FrmMain.h"
#include "player/FrmVideo.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"
#include "startup/SingleInstance.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTime>
#include <QTimer>

using namespace veltra;

namespace startup {
bool CommandLineSwitch = false;
QString BetaLabel;

namespace {
QStringList& args()
{
    static QStringList a;
    return a;
}
SingleInstance*& instancePtr()
{
    static SingleInstance* s = nullptr;
    return s;
}
} // namespace

void setArguments(const QStringList& arguments) { args() = arguments; }
QStringList arguments() { return args(); }
SingleInstance* instance() { return instancePtr(); }
} // namespace startup

bool window_ActivatePrevInstance()
{
    SingleInstance*& inst = startup::instancePtr();
    delete inst;
    inst = new SingleInstance(programfolder::path(), qApp);
    if (inst->claim()) {
        inst->setActivateHandler([] {
            if (!forms().isLoaded<FrmMain>()) return;
            FrmMain& main = forms().get<FrmMain>();
            if (main.isMinimized()) main.showNormal();
            main.show();
            main.raise();
            main.activateWindow();
        });
        return false;
    }
    // Another instance holds the program folder. When it cannot be reached the failure is
    // ignored and this one starts as if none ran.
    return inst->activateRunning();
}

StartResult Main()
{
    const QString title = programfolder::title();
    // 1, 2: settings path, beta label.
    settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
    startup::BetaLabel = QStringLiteral("Beta 5");

    // 3: one instance unless more are allowed.
    if (vb::EqualsNumber(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("AllowMultipleInstances"), QStringLiteral("0")), 0)) {
        if (window_ActivatePrevInstance()) return StartResult::AlreadyRunning;
    }

    // 4: a sound device.
    if (!windows_HasSoundCard()) {
        msgBox(QStringLiteral("It has been detected you have no sound devices currently installed.\r\n\r\n") + title
                   + QStringLiteral(" will now close.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Sound Error"));
        return StartResult::NoSoundDevice;
    }

    // 5: the settings file and its header.
    if (!files_FileExists(settings_Path())) {
        QFile f(settings_Path());
        if (f.open(QIODevice::WriteOnly | QIODevice::Append)) {
            f.write((QStringLiteral("; ") + title + QStringLiteral(" Settings:\r\n\r\n")).toUtf8());
            f.close();
        }
    }

    // 6: version keys.
    settings_WriteValue(title, QStringLiteral("Version"),
                        QString::number(programfolder::versionMajor()) + u'.' + QString::number(programfolder::versionMinor()));
    settings_WriteValue(title, QStringLiteral("Build"), u'#' + QString::number(programfolder::versionRevision()));
    settings_WriteValue(title, QStringLiteral("BetaInformation"), startup::BetaLabel);

    // 7: theme manifest.
    windows_CreateThemeManifest(programfolder::exeName(), title);

    // 8: resident windows, loaded hidden.
    forms().get<FrmMain>();
    forms().get<FrmConsole>();
    forms().get<FrmTracking>();
    forms().get<FrmAdjustVolumes>();
    forms().get<FrmMenus>();

    // 9: video window.
    FrmVideo& video = forms().get<FrmVideo>();
    video.hide();
    video.VideoIsOpen = false;
    video.tmrWindowUpdate->stop();
    video.video_Update();

    // 10: lyrics window.
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    lyrics.hide();
    lyrics.LyricsIsOpen = false;

    // 11, 12: start line and rule.
    FrmConsole& console = forms().get<FrmConsole>();
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(u't');   // the time zone is not part of the line
    console.window_WriteLog(title + QStringLiteral(" started at ") + QTime::currentTime().toString(timeFormat.trimmed())
                            + QStringLiteral(" / ") + locale.toString(QDate::currentDate(), QLocale::ShortFormat) + u'.');
    console.window_WriteLog(QString(97, u'-'));

    // 13: initialisation.
    window_LoadSettings();
    return StartResult::Running;
}

void window_LoadSettings()
{
    FrmConsole& console = forms().get<FrmConsole>();
    console.LoggingEnabled = false;
    FrmMain& main = forms().get<FrmMain>();
    main.PlayerState = 1;
    main.VolumeBeforeAdjust = -1;
    main.IsExiting = false;
    main.CurrentTrack = 0;
    main.LayoutReady = true;
    for (const char* folder : {"Playlists", "Logs", "Moods", "Updates"})
        QDir().mkpath(programfolder::file(QString::fromLatin1(folder)));
    main.show();
    main.WindowShown = true;
    console.LoggingEnabled = settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("WriteConsoleLogs"), QStringLiteral("1"));
}

namespace startup {

void endSession()
{
    QCoreApplication::exit(0);
}

int run()
{
    sessionend::install([] { endSession(); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager&) { sessionend::run(); });
    const StartResult r = Main();
    if (r == StartResult::AlreadyRunning) return 0;
    if (r == StartResult::NoSoundDevice) return 1;
    const int code = QApplication::exec();
    forms().unloadAll();
    return code;
}

} // namespace startup
