#pragma once
// The real program started as a user's desktop would, on an empty program folder, with a
// private sound server.
#include "support/PulseNullSink.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        QString why;
        if (!PulseNullSink::toolsPresent() || !pulse.start(&why)) GTEST_SKIP() << "no sound server: " << why.toStdString();
    }

    QProcessEnvironment env() const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();   // the sound server included
        e.insert(QStringLiteral("VELTRA_HOME"), home.path());
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        e.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.xdg-data"));
        e.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.xdg-config"));
        return e;
    }

    void startPlayer(QProcess& p, const QStringList& args = {})
    {
        p.setProcessEnvironment(env());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(VELTRA_BINARY), args);
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // The main window is up once initialisation made the data folders and the process ends
    // on SIGTERM by saving. The folders alone prove nothing on a second start: an earlier
    // run left them, and a SIGTERM before the handler is there kills the process outright.
    bool waitForMainWindow(QProcess& p, int ms = 20000, const QString& programFolder = QString())
    {
        const QString playlists = (programFolder.isEmpty() ? home.path() : programFolder) + QStringLiteral("/Playlists");
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (QFileInfo(playlists).isDir() && catchesSigterm(p) && p.state() == QProcess::Running) {
                QThread::msleep(300);
                return true;
            }
            if (p.state() != QProcess::Running) return false;
            QThread::msleep(50);
        }
        return false;
    }

    // Whether the process has its own handler for SIGTERM (the kernel's mask of caught signals).
    static bool catchesSigterm(const QProcess& p)
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(p.processId()));
        if (!status.open(QIODevice::ReadOnly)) return false;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("SigCgt:")) return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
        return false;
    }

    int terminate(QProcess& p)
    {
        ::kill(pid_t(p.processId()), SIGTERM);
        if (!p.waitForFinished(15000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        return p.exitCode();
    }

    QByteArray settings() const
    {
        QFile f(home.path() + QStringLiteral("/settings.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir home;
    PulseNullSink pulse;
};
