#pragma once
// The main window as start-up leaves it with a fresh settings file, on the test player.
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modRecent.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QTimer>

#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class MainWindowTest : public VeltraTest {
protected:
    FrmMain& main() { return forms().get<FrmMain>(); }
    FrmMenus& menus() { return forms().get<FrmMenus>(); }
    veltra::FakeMediaPlayerControl& player() { return static_cast<veltra::FakeMediaPlayerControl&>(main().wmpPlayer()); }
    ListViewModel& rows() { return main().rows(); }

    // What window_LoadSettings does to the main window when settings.ini is empty.
    void startDefault()
    {
        for (const char* folder : {"Playlists", "Logs", "Moods", "Updates"}) QDir(home()).mkpath(QString::fromLatin1(folder));
        FrmMain& m = main();
        m.mnuClear_Click();
        m.window_InstallPlaylists();
        m.window_InstallMoods();
        m.window_InstallBookmarks();
        m.window_UpdateMoods();
        recentplaylists_BuildMenu(*m.mnuRecentPlaylist);
        recentmedia_BuildMenu(*m.mnuRecentMedia);
        m.window_AddShortcutTexts();
        m.mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
        m.mnuKeysUseAsShortcuts->setChecked(true);
        m.mnuPlayingGoThroughPlaylistNormally_Click();
        m.mnuPlaylistStopAfterEnding->setChecked(true);
        m.mnuWorkForwardThroughList->setChecked(true);
        m.mnuStatusBarShowTimeElapsed->setChecked(true);
        m.mnuShowToolbar->setChecked(true);
        m.mnuShowStatusBar->setChecked(true);
        m.lstvPlaylist->setHideColumnHeaders(true);
        m.mnuShowFilenamesColumn->setChecked(true);
        m.mnuWindowsShowEachSongAsItsPlayed->setChecked(true);
        m.mnuSortByFilename_Click();
        m.mnuDontSort_Click();
        m.PlaylistComboReady = false;
        m.cmbPlaylists->setCurrentIndex(0);
        m.PlaylistComboReady = true;
        m.LayoutReady = true;
        m.tmrWindowUpdate_Timer();
        m.tmrPosition_Timer();
        m.WindowShown = true;
    }

    // A real MP3 file under Music/.
    QString song(const QString& name, double seconds = 2)
    {
        const QString path = home(QStringLiteral("Music/") + name + QStringLiteral(".mp3"));
        QDir(home()).mkpath(QStringLiteral("Music"));
        mp3maker::makeMp3(path, {.seconds = seconds, .bitrate = 32, .id3v2 = false});
        return path;
    }

    // A row for a new file with these texts.
    int addRow(const QString& artist, const QString& title, const QString& year = QString())
    {
        const QString path = song(artist + QStringLiteral(" - ") + title);
        main().playlist_AddSong(artist, title, year, path);
        controls_RenumberItems(rows());
        return rows().count();
    }

    // The rows' artists, top to bottom.
    QStringList artists()
    {
        QStringList out;
        for (int r = 1; r <= rows().count(); ++r) out.append(rows().subItem(r, 1));
        return out;
    }

    void playRow(int row)
    {
        controls_SelectItem(rows(), row);
        main().player_Play(1);
    }
};
