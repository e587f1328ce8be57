#pragma once
// The main window with real songs in the temporary program folder, for the playlist tests.
#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QThread>
#include <QTimer>
#include <functional>
#include <optional>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class PlaylistTest : public VeltraTest {
protected:
    FrmMain& main() { return forms().get<FrmMain>(); }
    ListViewModel& rows() { return main().rows(); }
    QString log() { return forms().get<FrmConsole>().Text(); }

    // A real MP3 under the program folder; returns its path.
    QString song(const QString& relative, const mp3maker::Song& s = {})
    {
        const QString path = home(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(mp3maker::makeMp3(path, s)) << qPrintable(path);
        return path;
    }

    // Appends rows naming the paths, as the adding commands do.
    void addRows(const QStringList& paths)
    {
        for (const QString& p : paths) main().playlist_AddSong(QString(), QString(), QString(), p);
    }

    QStringList column(int k)
    {
        QStringList out;
        for (int r = 1; r <= rows().count(); ++r) out << rows().cell(r, k);
        return out;
    }

    struct Seen {
        bool busy = false;
        bool hourglass = false;
        QString status;
    };
    // What the main window showed while `job` let window messages run (the job must let them
    // run at least once; it does so at most every 50 ms, so wait that long first).
    std::optional<Seen> seenDuring(const std::function<void()>& job)
    {
        std::optional<Seen> seen;
        QThread::msleep(60);
        QTimer::singleShot(0, &main(), [&] {
            const QCursor* c = QApplication::overrideCursor();
            seen = Seen{main().StatusBarBusy, c && c->shape() == Qt::WaitCursor, main().statusPanelText(1)};
        });
        job();
        std::optional<Seen> during = seen;
        processEvents();
        return during;
    }
};
