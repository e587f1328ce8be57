// The main window with a folder of generated songs added, for a look on a real (or virtual)
// X display: makes COUNT MP3 files with varied tags and lengths in a temporary program
// folder, adds the folder as the Add Directory command does (tags read, renumbered,
// scanned), plays the third row through the real player, and saves the window as a PNG.
// Usage: veltra_playlistcheck OUT.png [COUNT]
// Run it with a sound server (PULSE_SERVER) or the player has nowhere to play.
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/RecordingUiServices.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [COUNT]\n", argv[0]);
        return 2;
    }
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 300;
    QTemporaryDir home;
    qputenv("VELTRA_HOME", home.path().toUtf8());
    programfolder::setPath(home.path());
    settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
    veltra::RecordingUiServices ui;   // no box may wait for a click
    veltra::setUiServices(&ui);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("AlwaysScanPlaylistWhenAddingSongs"), QStringLiteral("1"));

    const QString folder = home.filePath(QStringLiteral("Music"));
    QDir().mkpath(folder);
    const QStringList artists = {"Amber Lane", "The Night Owls", "Kofi Mensah", "Ça Ira", "Blue Harbour", "Mira Sol"};
    for (int i = 1; i <= count; ++i) {
        const QString n = QString::number(i);
        mp3maker::Song song{.artist = artists[i % artists.size()], .title = QStringLiteral("Song Number ") + n,
                            .album = QStringLiteral("Album ") + QString::number(i / 12), .year = QString::number(1965 + i % 55),
                            .seconds = double(2 + i % 9), .bitrate = 32, .id3v1 = true};
        if (i % 25 == 0) song.artist.clear();   // some without an artist: "[None]"
        mp3maker::makeMp3(folder + QStringLiteral("/%1 Track.mp3").arg(i, 4, 10, QLatin1Char('0')), song);
    }

    FrmMain& main = forms().get<FrmMain>();
    main.mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
    main.resize(1100, 720);
    main.move(20, 20);
    main.show();
    QElapsedTimer clock;
    clock.start();
    main.playlist_AddDirectory(folder, QStringLiteral("mp3"));
    main.playlist_ShowMP3Data(false);
    controls_RenumberItems(main.rows());
    main.playlist_CheckEntries();
    std::printf("%d rows in %lld ms\n", main.rows().count(), static_cast<long long>(clock.elapsed()));

    controls_SelectItem(main.rows(), 3);
    main.mnuPlay_Click();
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 1500) app.processEvents(QEventLoop::AllEvents, 50);
    std::printf("playing: %s (state %d), current track %d\n", qPrintable(main.wmpPlayer().FileName()), int(main.wmpPlayer().PlayState()),
                main.CurrentTrack);
    controls_SelectItem(main.rows(), 6);   // the playing row's own colour shows when it is not selected
    app.processEvents();
    for (int r = 1; r <= 4; ++r) std::printf("row %d: %s\n", r, qPrintable(main.rows().cells(r).join(QStringLiteral(" | "))));

    const bool saved = main.grab().save(QString::fromLocal8Bit(argv[1]));
    std::printf("%s\n", saved ? "saved" : "could not save the picture");
    main.wmpPlayer().Stop();
    forms().unloadAll();
    veltra::setUiServices(nullptr);
    return saved ? 0 : 1;
}
