#pragma once
// The main window with the fake player, its modes ticked as start-up ticks them, and a
// playlist of real MP3 files in the temporary program folder.
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "platform/MediaPlayerControl.h"
#include "platform/MediaPlayerFactory.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QByteArray>
#include <QStringList>

// The fake player, which can be told to ignore the next calls of Play (a file the player
// cannot start at once).
class TestPlayer : public veltra::FakeMediaPlayerControl {
public:
    using FakeMediaPlayerControl::FakeMediaPlayerControl;
    int refusePlays = 0;
    void Play() override
    {
        if (refusePlays > 0) {
            --refusePlays;
            history.append(QStringLiteral("Play"));
            return;
        }
        FakeMediaPlayerControl::Play();
    }
};

class PlaybackTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        veltra::setMediaPlayerFactory([](QObject* parent) { return new TestPlayer(parent); });
        main = &forms().get<FrmMain>();
        player = dynamic_cast<TestPlayer*>(&main->wmpPlayer());
        ASSERT_NE(player, nullptr);
        tickDefaultModes();
        forms().get<FrmConsole>().LoggingEnabled = true;
    }

    // The check marks start-up puts on the modes when settings.ini holds nothing.
    void tickDefaultModes()
    {
        main->mnuPlayingGoThroughPlaylistNormally_Click();
        main->mnuWorkForwardThroughList_Click();
        main->mnuPlaylistStopAfterEnding_Click();
        main->mnuSortByFilename_Click();
        main->mnuDontSort->setChecked(true);
    }

    // A real MP3 file under Music/ in the program folder.
    QString song(const QString& name, const QString& artist = QString(), const QString& title = QString())
    {
        const QString path = home(QStringLiteral("Music/") + name);
        mp3maker::Song s;
        s.artist = artist;
        s.title = title;
        s.seconds = 0.2;
        EXPECT_TRUE(mp3maker::makeMp3(path, s));
        return path;
    }

    // Adds rows "A<i>" / "T<i>" with status "Play" and an existing file each.
    void addSongs(int n, const QString& prefix = QStringLiteral("s"))
    {
        for (int i = 1; i <= n; ++i) {
            const int row = list().count() + 1;
            main->playlist_AddSong(QStringLiteral("A%1").arg(row), QStringLiteral("T%1").arg(row), QString(),
                                   song(prefix + QString::number(i) + QStringLiteral(".mp3")));
        }
        controls_RenumberItems(list());
    }

    // A playlist file Playlists/<name>.spp with one row per file, all of the given status.
    void writePlaylist(const QString& name, const QStringList& files, const QString& rowStatus = QStringLiteral("Play"))
    {
        QByteArray text;
        int n = 0;
        for (const QString& f : files) {
            ++n;
            for (const QString& cell : {QString::number(n), name + QStringLiteral("-A%1").arg(n), name + QStringLiteral("-T%1").arg(n),
                                        QString(), rowStatus, QString(), f})
                text += '"' + cell.toUtf8() + "\"\r\n";
        }
        writeFile(QStringLiteral("Playlists/") + name + QStringLiteral(".spp"), text);
    }

    // Fills the playlist box from the Playlists folder, ready to open what is chosen.
    void installPlaylists()
    {
        main->window_InstallPlaylists();
        main->PlaylistComboReady = true;
    }

    ListViewModel& list() { return main->rows(); }
    QString status(int row) { return list().subItem(row, PlaylistColumn::Status); }
    void setStatus(int row, const char* s) { list().setSubItem(row, PlaylistColumn::Status, QString::fromLatin1(s)); }
    QString file(int row) { return list().subItem(row, PlaylistColumn::Filename); }

    // The position timer's tick, which keeps PlayerState.
    void tick() { main->tmrPosition_Timer(); }

    void playRow(int row, int origin = 1)
    {
        controls_SelectItem(list(), row);
        main->player_Play(origin);
        tick();
    }

    // The loaded song plays to its end; the next-track decision runs.
    void endSong()
    {
        player->finish();
        tick();
    }

    bool playing() const { return player->PlayState() == veltra::MediaPlayerControl::State::Playing; }

    QStringList logLines() const
    {
        return forms().get<FrmConsole>().Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    QStringList playedLines() const { return logLines().filter(QStringLiteral("Played ")); }

    FrmMain* main = nullptr;
    TestPlayer* player = nullptr;
};
