#pragma once
// The main window as start-up leaves it with a fresh settings file, on the test player.
#include "support/MenuClick.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modRecent.h"
#include "common/modTray.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>
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

    // The program as start-up leaves it with a fresh settings file (the real start-up, on the
    // test player, without a notification area).
    void startDefault()
    {
        tray::setAvailabilityOverride([] { return tray::Availability::NoDesktop; });
        startup::setArguments({});
        startup::CommandLineSwitch = false;
        startup::ShowMinimizedInstead = false;
        ASSERT_EQ(Main(), StartResult::Running);
        FrmMain& m = main();
        // the tests drive the timers themselves
        for (QTimer* t : {m.tmrPosition, m.tmrMenuText, m.tmrWindowUpdate, m.tmrSystemTrayDetect, m.tmrMediaKeys}) t->stop();
        // as their first ticks would
        m.tmrWindowUpdate_Timer();
        m.tmrPosition_Timer();
    }
    void TearDown() override
    {
        tray::setAvailabilityOverride(nullptr);
        VeltraTest::TearDown();
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
        for (int r = 1; r <= rows().count(); ++r) out.append(rows().subItem(r, PlaylistColumn::Artist));
        return out;
    }

    void playRow(int row)
    {
        controls_SelectItem(rows(), row);
        main().player_Play(1);
    }
};
