#include "startup/modMain.h"

#include "common/FrmConsole.h"
#include "common/modFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "common/ListView.h"
#include "common/modAssociations.h"
#include "common/modColours.h"
#include "common/modControls.h"
#include "common/modFolders.h"
#include "common/modListFiles.h"
#include "common/modRecent.h"
#include "common/modTray.h"
#include "controls/ctlQX_wScrollbar.h"
#include "media/modMedia.h"
#include "platform/MediaPlayerControl.h"
#include "startup/modCommandLine.h"
#include "startup/modGlobalKeySettings.h"
#include "startup/modStartSettings.h"
#include "extras/FrmTracking.h"
#include "library/FrmLyrics.h"
#include "mainwindow/FrmMenus.h"
#include "platform/HeldKeys.h"
#include "platform/ProgramFolder.h"
#include "platform/SessionEnd.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "player/FrmVideo.h"
#include "preferences/FrmAdjustVolumes.h"
#include "preferences/modPreferenceKeys.h"
#include "startup/Forms.h"
#include "startup/LayerWiring.h"
#include "startup/SingleInstance.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QIcon>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace veltra;

namespace startup {
namespace {
bool g_quitting = false;
int g_quitCode = 0;
int g_sessionEndHolds = 0;
bool g_sessionEndOwed = false;
bool g_sessionEndEndsProcess = false;
} // namespace
bool CommandLineSwitch = false;
bool ShowMinimizedInstead = false;
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
    // Another instance holds the program folder: it is asked to come forward (it may still be
    // starting) and this one ends. When another user's files hold every name of the lock (no
    // instance of ours can run) or of the socket (ours cannot be reached), there is nothing to
    // wait for: Main says why the start ends.
    if (!inst->claim() && !inst->blockedBy() && inst->activateRunning()) return true;
    inst->setActivateHandler([] {
        if (!forms().isLoaded<FrmMain>()) return;
        FrmMain& main = forms().get<FrmMain>();
        // Hidden in the tray (or in mini mode): back the way the tray's Open brings it.
        if (main.isHidden() || main.isMinimized() || main.mnuSwitchToMiniMode->isChecked()) {
            forms().get<FrmMenus>().mnuOpen_Click();
            return;
        }
        main.raise();
        main.activateWindow();
    });
    return false;
}

namespace {
// A start that must not go on says why, in a box and on standard error, before anything is
// written: ending quietly would look as if the running one had been brought forward.
void tellStartEnds(const QString& statement, const QString& closing)
{
    startup::tellStandardError(statement + u' ' + closing);
    msgBox(statement + QStringLiteral("\r\n\r\n") + closing + QStringLiteral("\r\n"), MsgButtons::OK, MsgIcon::Exclamation,
           QStringLiteral("Single Instance Error"));
}

// Another user's files stand where this start's lock (or socket) must go: the folder and the
// users are named.
void tellBlockedStart(const SingleInstance::Blocked& blocked, const QString& title)
{
    const QString who = (blocked.owners.size() > 1 ? QStringLiteral("other users (") : QStringLiteral("another user ("))
                        + blocked.owners.join(QStringLiteral(", ")) + u')';
    const QString statement = blocked.lock
        ? QStringLiteral("It has been detected that the files ") + title + QStringLiteral(" needs in the folder ") + blocked.folder
              + QStringLiteral(" to run only once belong to ") + who + u'.'
        : QStringLiteral("It has been detected that ") + title + QStringLiteral(" is already running, but the files it needs in the folder ")
              + blocked.folder + QStringLiteral(" to be brought to the front belong to ") + who + u'.';
    tellStartEnds(statement, (blocked.lock ? title : QStringLiteral("This start of ") + title) + QStringLiteral(" will now close."));
}
} // namespace

StartResult Main()
{
    startup::clearQuit();   // a quit belongs to the run it ended, not to a start after it
    const QString title = programfolder::title();
    // The program's icon, for every window and box that has none of its own: a box shown
    // while no window of the program is (in the tray, before start-up ends) has no window to
    // take one from.
    QApplication::setWindowIcon(controls_ThemeIcon("multimedia-player", QStyle::SP_MediaPlay));
    startup::wireLowerLayers();
    // 1, 2: settings path, beta label.
    settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
    startup::BetaLabel = QStringLiteral("Beta 5");

    // 3: one instance unless more are allowed.
    if (vb::EqualsNumber(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("AllowMultipleInstances"), QStringLiteral("0")), 0)) {
        const bool ends = window_ActivatePrevInstance();
        if (const auto blocked = startup::instance()->blockedBy()) {
            tellBlockedStart(*blocked, title);
            return StartResult::InstanceBlocked;
        }
        if (const auto holder = startup::instance()->unansweredBy()) {
            tellStartEnds(QStringLiteral("It has been detected that ") + title + QStringLiteral(" is already running")
                              + (*holder > 0 ? QStringLiteral(" (process %1)").arg(*holder) : QString())
                              + QStringLiteral(", but it does not answer."),
                          QStringLiteral("This start of ") + title + QStringLiteral(" will now close."));
            return StartResult::InstanceBlocked;
        }
        if (ends) return StartResult::AlreadyRunning;
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

    // From here on the settings written reach the file together, when Main returns.
    const settings::WriteBatch batch;

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
    console.window_WriteLog(title + QStringLiteral(" started at ") + vb::TimeOfDay() + QStringLiteral(" / ")
                            + vb::ShortDate(QDate::currentDate()) + u'.');
    console.window_WriteLog(QString(97, u'-'));

    // 13: initialisation.
    window_LoadSettings();
    return StartResult::Running;
}

void window_LoadSettings()
{
    FrmConsole& console = forms().get<FrmConsole>();
    FrmMain& main = forms().get<FrmMain>();
    FrmMenus& menus = forms().get<FrmMenus>();
    FrmVideo& video = forms().get<FrmVideo>();
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    const QString S = QStringLiteral("Settings");

    // 1, 2: a quiet start in the stopped state.
    console.LoggingEnabled = false;
    main.PlayerState = FrmMain::Playback::Stopped;
    video.wmpPlayer->Stop();
    main.LayoutReady = false;
    main.VolumeBeforeAdjust = -1;
    main.RandomHistoryCount = 0;
    main.IsExiting = false;
    main.window_ResetRandomFilenames();
    main.mnuClear_Click();

    // 3: the data folders.
    for (const char* folder : {"Playlists", "Logs", "Moods", "Updates"})
        directory_Create(programfolder::file(QString::fromLatin1(folder)));

    // 4: the main window's place.
    main.uspControls->setFixedHeight(std::max(main.uspControls->sizeHint().height(), main.cmbPlaylists->sizeHint().height()));
    windows_LoadPosition(&main, QStringLiteral("MainWindow"), 1500);
    main.LayoutReady = true;
    main.Form_Resize();

    // 5: moods.
    MoodList = settings_ReadValue(QStringLiteral("Advanced"), QStringLiteral("Moods"),
                                  QStringLiteral("Happy|Annoyed|Sad|Low|Hyper|Bored|Slow|Fast|Angry|Other"));

    // 6, 7: the video and lyrics windows at the main window's bottom-right corner.
    // The window is not shown yet: the status bar's height is the one it will have.
    const int statusHeight = main.sbStatusBar->sizeHint().height();
    video.video_GetSize();
    video.move(main.x() + main.width() - video.width(), main.y() + main.height() - video.height() - statusHeight);
    lyrics.lyrics_GetSize();
    lyrics.move(main.x() + main.width() - lyrics.width(), main.y() + main.height() - lyrics.height() - statusHeight);

    // 8: shortcut texts.
    main.window_AddShortcutTexts();

    // 9: file types.
    if (settings_ReadFlag(S, QStringLiteral("RegisterFilesWhenLoading"), QStringLiteral("0"))) {
        const QStringList types = prefkeys::fileTypes();
        for (int i = 0; i < types.size(); ++i)
            if (settings_ReadFlag(QStringLiteral("FileTypes"), types[i], prefkeys::fileTypeDefault(i)))
                associations_RegisterFileType(programfolder::title(), types[i].toLower());
        if (settings_ReadFlag(S, QStringLiteral("UpdateWindowsIconsWhenLoading"), QStringLiteral("0"))) associations_NotifyShell();
    }

    // 10: recent lists.
    // Kept to the sizes the preferences allow: a hand-edited huge size would make clearing or
    // pruning the list write its settings that many times.
    const auto recentSize = [&](prefkeys::NumberBox which) {
        const prefkeys::NumberSetting& n = prefkeys::number(which);
        const double v = vb::Val(settings_ReadValue(S, QLatin1String(n.key), QStringLiteral("30")));
        return int(std::clamp(v, double(n.minimum), double(n.maximum)));
    };
    RecentPlaylistsMax = recentSize(prefkeys::MaxPlaylists);
    RecentMediaMax = recentSize(prefkeys::MaxFiles);
    recentplaylists_BuildMenu(main);
    recentmedia_BuildMenu(main);

    // 11: dynamic menus and hot keys.
    main.window_InstallPlaylists();
    main.window_InstallMoods();
    main.window_InstallBookmarks();
    main.window_UpdateMoods();
    main.window_SetMenuImages();
    settings_LoadGlobalKeys();
    main.player_CaptureHotkeys(false);
    menus.window_InstallDrives();

    // 12: the playlist kept between runs.
    const QString defaultPlaylist = programfolder::file(QStringLiteral("Playlists/default.spp"));
    if (files_FileExists(defaultPlaylist)) main.DefaultPlaylistLoadFailed = !controls_LoadListView(main.rows(), defaultPlaylist);
    if (startup::quitting()) return;   // the session ended while the list's error box was open

    // 13: column widths.
    constexpr double kWidestColumnTwips = 1000000;
    const char* columns[] = {"Number", "Artist", "Title", "Year", "Status", "Length"};
    const char* widths[] = {"800", "3000", "3000", "1000", "1000", "1000"};
    for (int c = 0; c < 6; ++c) {
        double w = vb::Val(settings_ReadValue(QStringLiteral("ColumnHeaders_MainWindow"), QString::fromLatin1(columns[c]), QString::fromLatin1(widths[c])));
        // A width no column can have (below nothing, or wider than any screen: a hand edit)
        // counts as missing; left as it was, it would hide its column at every run.
        if (!(w >= 0 && w <= kWidestColumnTwips)) w = vb::Val(QString::fromLatin1(widths[c]));
        main.lstvPlaylist->setColumnWidthTwips(c, w);
    }

    // 14: the layout is the window's own; 15: the remembered playlist name.
    menus.lblPlaylist->setText(settings_ReadValue(QStringLiteral("Playback"), QStringLiteral("PlaylistUsed"), QString()));

    // 16: the playlist's looks.
    const QString A = QStringLiteral("Appearance");
    // A size no font dialog offers (a hand edit) counts as missing: at a million points every
    // letter is a box and shrinking it two points at a time would never end.
    constexpr double kLargestFontPoints = 200;
    double fontSize = vb::Val(settings_ReadValue(A, QStringLiteral("Fontsize"), QStringLiteral("8")));
    if (!(fontSize <= kLargestFontPoints)) fontSize = 8;
    main.window_SetPlaylistLooks(settings_ReadValue(A, QStringLiteral("Font"), QStringLiteral("Tahoma")), fontSize,
                                 prefkeys::readColour(prefkeys::Background), prefkeys::readColour(prefkeys::Font));
    const QString image = settings_ReadValue(A, QStringLiteral("PlaylistImage"), QString());
    if (!image.isEmpty() && files_FileExists(image) && QFileInfo(image).isFile()) {   // a pipe would never end loading
        main.lstvPlaylist->setBackgroundPicture(QPixmap(image));
        main.Form_Resize();
    }

    // 17: the menu settings.
    window_ApplyStartSettings();

    // 18 - 20: the remembered playlist chosen in the box, without loading it.
    main.PlaylistComboReady = false;
    const QString used = menus.lblPlaylist->text();
    if (!used.isEmpty() && controls_ComboFindExact(main.cmbPlaylists, used) >= 0) controls_ComboSelectText(main.cmbPlaylists, used);
    else main.cmbPlaylists->setCurrentIndex(0);
    main.PlaylistComboReady = true;

    // 21: the displays once.
    main.tmrWindowUpdate_Timer();
    main.tmrPosition_Timer();

    // 22: volume and balance.
    const QString Snd = QStringLiteral("Sound");
    main.sldVolume->setValue(vb::CInt(vb::Val(settings_ReadValue(Snd, QStringLiteral("Volume"), QStringLiteral("50")))));
    main.sldBalance->setValue(vb::CInt(vb::Val(settings_ReadValue(Snd, QStringLiteral("Balance"), QStringLiteral("50")))));
    video.qxsVolume->setValue(vb::CInt(vb::Val(settings_ReadValue(Snd, QStringLiteral("Volume"), QStringLiteral("50")))));
    video.qxsBalance->setValue(vb::CInt(vb::Val(settings_ReadValue(Snd, QStringLiteral("Balance"), QStringLiteral("50")))));
    main.player_Volume(main.sldVolume->value());
    main.player_Balance(main.sldBalance->value());
    // From here on the window holds what was stored: leaving saves it.
    main.StartupStateApplied = true;

    // 23: the tray icon.
    if (settings_ReadFlag(S, QStringLiteral("UseSystemTraySupport"), QStringLiteral("1"))) tray_AddIcon(QString(), &main, main.windowIcon());
    if (startup::quitting()) return;   // the session ended while a box was open

    // 24, 25: the command line, or playing at start. What the command line adds is a change
    // of the playlist since start, saved on exit even over a default.spp that failed to load.
    main.PlaylistChangedSinceStart = false;
    main.startWatchingPlaylistChanges();
    main.Form_Resize();
    const QString commandLine = commandline_FromArguments(startup::arguments(), QDir::currentPath());
    if (!commandLine.isEmpty()) {
        window_ProcessCommandLine(commandLine);
        controls_RenumberItems(main.rows());
        if (startup::quitting()) return;   // the session ended while the songs were read
    } else if (settings_ReadFlag(S, QStringLiteral("PlayMusicOnStartUp"), QStringLiteral("0")) && main.rows().count() >= 1) {
        main.player_Play(1);
    }

    // 26: logging as set.
    console.LoggingEnabled = settings_ReadFlag(S, QStringLiteral("WriteConsoleLogs"), QStringLiteral("1"));

    // 27: showing, unless started into the tray.
    if (startup::ShowMinimizedInstead) main.showMinimized();
    else if (!startup::CommandLineSwitch || !commandLine.left(8).toLower().startsWith(QLatin1String("/systray"))) main.show();

    // 28: the timers, in this order.
    main.tmrPosition->start();
    main.tmrMenuText->start();
    main.tmrWindowUpdate->start();
    main.tmrSystemTrayDetect->start();
    if (!main.mnuWindowsDisableGlobalHotkeys->isChecked()) main.tmrMediaKeys->start();

    // 29, 30.
    main.WindowShown = true;
    // The keys go to the playlist: with the playlists box first in the focus chain an arrow
    // key would load another playlist over the one just shown.
    main.lstvPlaylist->setFocus();
    main.update();
}

namespace startup {

void quit(int code)
{
    g_quitting = true;
    g_quitCode = code;
    QCoreApplication::exit(code);
}

bool quitting() { return g_quitting; }

void tellStandardError(const QString& line)
{
    std::fputs((QStringLiteral("veltra: ") + line + u'\n').toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void tellLogAndStandardError(const QString& line)
{
    if (forms().isLoaded<FrmConsole>()) forms().get<FrmConsole>().window_WriteLog(line);
    tellStandardError(line);
}

void clearQuit()
{
    g_quitting = false;
    g_quitCode = 0;
    veltra::setUnattended(nullptr);
}

SessionEndHold::SessionEndHold() { ++g_sessionEndHolds; }

SessionEndHold::~SessionEndHold()
{
    if (--g_sessionEndHolds > 0 || !g_sessionEndOwed) return;
    g_sessionEndOwed = false;
    endSession();
}

namespace {
// The signal may have come while a command waited on a box or let events in: once the state
// is saved nothing more of it runs, so the process ends here.
[[noreturn]] void endProcess(int code)
{
    delete std::exchange(instancePtr(), nullptr);   // the lock and the socket go with us
    std::fflush(nullptr);
    std::_Exit(code);
}
} // namespace

void endSession()
{
    // Nobody is there to answer any more: what a box would say is only reported.
    veltra::setUnattended(tellLogAndStandardError);
    if (g_sessionEndHolds > 0) {
        g_sessionEndOwed = true;
        return;
    }
    // The same saving as when the desktop session ends.
    if (forms().isLoaded<FrmMain>()) forms().get<FrmMain>().Form_QueryUnload(FrmMain::AppWindows);
    else quit(0);
    if (g_sessionEndEndsProcess) endProcess(g_quitCode);
}

int run()
{
    // A key held past a box or a change of focus repeats no command.
    const HeldKeys heldKeys(HeldKeys::desktopKeyboard());
    sessionend::install([] { endSession(); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager&) { sessionend::run(); });
    const StartResult r = Main();
    if (r == StartResult::AlreadyRunning) return 0;
    if (r == StartResult::NoSoundDevice || r == StartResult::InstanceBlocked) return 1;
    // A signal that ended the program while start-up waited on a message box leaves no loop
    // to run. Start-up itself stops where the session ended and says how the start ended; a
    // command run from the loop is ended by the session end itself.
    int code = g_quitCode;
    if (!startup::quitting()) {
        g_sessionEndEndsProcess = true;
        code = QApplication::exec();
    }
    forms().unloadAll();
    return code;
}

} // namespace startup
