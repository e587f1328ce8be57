// Shows the main window with a playlist of generated songs, one of them playing (on the
// test player, whose clock stands still), for a look on a real or virtual X display, and
// saves a picture of the screen.
// Usage: veltra_lookcheck OUTPUT.png [SECONDS] [--drag | --menu]
// With --menu the Playback menu is open, its Play item highlighted.
// With --drag (an X display with XTEST) the mouse drags row 5 onto row 2 first and the
// program says whether the row arrived there.
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "mainwindow/FrmMenus.h"
#include "platform/FakeMediaPlayerControl.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/RecordingUiServices.h"
#include "platform/SoundDevice.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

#ifdef VELTRA_HAVE_XTEST
#include <QGuiApplication>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#endif

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [SECONDS]\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const double seconds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toDouble() : 2.0;

    QTemporaryDir dir;
    programfolder::setPath(dir.path());
    settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
    veltra::RecordingUiServices ui;
    veltra::setUiServices(&ui);
    sounddevice::setOverride([] { return true; });
    veltra::setMediaPlayerFactory([](QObject* parent) { return new veltra::FakeMediaPlayerControl(parent); });
    for (const char* folder : {"Playlists", "Logs", "Moods", "Updates", "Music"}) QDir(dir.path()).mkpath(QString::fromLatin1(folder));

    struct Song {
        const char* artist;
        const char* title;
        const char* year;
        double seconds;
    };
    const Song songs[] = {
        {"Amber Coast", "Harbour Lights", "2004", 214}, {"Amber Coast", "Paper Boats", "2004", 187},
        {"Blue Meridian", "Night Train", "1998", 245},  {"Blue Meridian", "Glasshouse", "2001", 201},
        {"Cinder & Sage", "Slow Orbit", "2011", 263},   {"Delta Static", "Northern Line", "1995", 178},
        {"Delta Static", "Copper Sky", "1997", 232},    {"Echo Garden", "Lanterns", "2008", 196},
        {"Fable Road", "Open Water", "2015", 221},      {"Fable Road", "Tin Roof Rain", "2016", 254},
        {"Golden Hour Club", "Weekend", "2019", 189},   {"Harlow Fields", "Last Bus Home", "2009", 240},
    };
    FrmMain& main = forms().get<FrmMain>();
    FrmMenus& menus = forms().get<FrmMenus>();
    Q_UNUSED(menus);
    int n = 0;
    for (const Song& s : songs) {
        const QString path = dir.filePath(QStringLiteral("Music/%1 - %2.mp3").arg(QString::fromUtf8(s.artist), QString::fromUtf8(s.title)));
        mp3maker::makeMp3(path, {.artist = QString::fromUtf8(s.artist), .title = QString::fromUtf8(s.title),
                                 .year = QString::fromLatin1(s.year), .seconds = s.seconds / 40.0, .bitrate = 32, .id3v1 = true});
        main.playlist_AddSong(QString(), QString(), QString(), path);
        main.playlist_UpdateItem(++n, false);
        // The files are short; the lengths shown are those of the songs they stand for.
        const int len = int(s.seconds);
        main.rows().setSubItem(n, PlaylistColumn::Length, QStringLiteral("%1:%2").arg(len / 60, 2, 10, QLatin1Char('0')).arg(len % 60, 2, 10, QLatin1Char('0')));
    }
    controls_RenumberItems(main.rows());
    controls_SaveListView(main.rows(), programfolder::file(QStringLiteral("Playlists/Evening Mix.spp")));
    controls_SaveListView(main.rows(), programfolder::file(QStringLiteral("Playlists/Road Trip.spp")));

    // What start-up does with a fresh settings file.
    main.window_InstallPlaylists();
    main.window_InstallMoods();
    main.window_InstallBookmarks();
    main.window_UpdateMoods();
    main.mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
    main.mnuKeysUseAsShortcuts->setChecked(true);
    main.mnuPlayingGoThroughPlaylistNormally_Click();
    main.sequence().setEndOfListMode(veltra::EndOfListMode::StopAfterEnding);
    main.sequence().setDirection(veltra::PlayDirection::Forward);
    main.mnuStatusBarShowTimeElapsed->setChecked(true);
    main.mnuShowToolbar->setChecked(true);
    main.mnuShowStatusBar->setChecked(true);
    main.mnuShowPlaylistHeaders->setChecked(true);
    main.lstvPlaylist->setHideColumnHeaders(false);
    main.mnuShowFilenamesColumn->setChecked(true);
    main.mnuWindowsShowEachSongAsItsPlayed->setChecked(false);
    main.mnuSortByFilename_Click();
    main.mnuDontSort_Click();
    main.window_AddShortcutTexts();
    main.PlaylistComboReady = false;
    main.cmbPlaylists->setCurrentIndex(1);
    main.PlaylistComboReady = true;

    main.resize(940, 560);
    main.move(60, 40);
    main.LayoutReady = true;
    main.show();
    main.WindowShown = true;

    auto& player = static_cast<veltra::FakeMediaPlayerControl&>(main.wmpPlayer());
    player.nextDuration = 245;
    controls_SelectItem(main.rows(), 3);
    main.player_Play(1);
    player.advance(76.5);
    controls_SelectItem(main.rows(), 7);   // the user looks further down while it plays
    main.sldVolume->setValue(72);
    main.tmrWindowUpdate_Timer();
    main.tmrPosition_Timer();
    main.tmrPosition->start();
    main.tmrWindowUpdate->start();
    main.tmrMenuText->start();

    const bool drag = argc > 3 && QString::fromLocal8Bit(argv[3]) == QLatin1String("--drag");
#ifdef VELTRA_HAVE_XTEST
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (drag && display) {
        auto rowCentre = [&](int row) {
            const QRect r = main.lstvPlaylist->visualRect(main.rows().index(row - 1, 1));
            return main.lstvPlaylist->viewport()->mapToGlobal(r.center());
        };
        auto moveTo = [display](QPoint p) {
            XTestFakeMotionEvent(display, -1, p.x(), p.y(), 0);
            XFlush(display);
        };
        auto button = [display](bool down) {
            XTestFakeButtonEvent(display, 1, down ? True : False, 0);
            XFlush(display);
        };
        // Where the rows are once the window manager has placed the window.
        auto from = std::make_shared<QPoint>(), to = std::make_shared<QPoint>();
        QTimer::singleShot(400, &app, [=, &main] {
            *from = rowCentre(5);
            *to = rowCentre(2);
            moveTo(*from);
            std::printf("window at %d,%d frame %d,%d; row 5 at %d,%d\n", main.geometry().x(), main.geometry().y(), main.frameGeometry().x(),
                        main.frameGeometry().y(), from->x(), from->y());
        });
        QTimer::singleShot(600, &app, [=, &main] {
            const QPoint local = main.lstvPlaylist->viewport()->mapFromGlobal(QCursor::pos());
            std::printf("pointer over row %d\n", main.lstvPlaylist->hitTest(local));
            button(true);
        });
        for (int i = 1; i <= 10; ++i)
            QTimer::singleShot(700 + 40 * i, &app, [=] { moveTo(*from + (*to - *from) * i / 10); });
        QTimer::singleShot(1200, &app, [=] { button(false); });
        QTimer::singleShot(1500, &app, [&] {
            QStringList order;
            for (int r = 1; r <= main.rows().count(); ++r) order.append(main.rows().subItem(r, PlaylistColumn::Artist));
            std::printf("after the drag: %s; dragging flag %d\n", qPrintable(order.join(QStringLiteral(", "))), int(main.IsDraggingRow));
        });
    }
#else
    if (drag) std::printf("no XTEST here: no drag\n");
#endif
    if (argc > 3 && QString::fromLocal8Bit(argv[3]) == QLatin1String("--menu")) {
        QTimer::singleShot(500, &app, [&main] {
            main.menuBar()->setActiveAction(main.mnuPlayback->menuAction());
            QTimer::singleShot(300, main.mnuPlayback, [&main] { main.mnuPlayback->setActiveAction(main.mnuPlay); });
        });
    }

    QTimer::singleShot(int(seconds * 1000), &app, [&] {
        const QPixmap shot = main.screen()->grabWindow(0);
        const bool saved = shot.save(output);
        std::printf("%s %dx%d\n", saved ? "saved" : "not saved", shot.width(), shot.height());
        app.quit();
    });
    app.exec();
    forms().unloadAll();
    veltra::setUiServices(nullptr);
    return 0;
}
