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

    // The main window is up once initialisation made the data folders.
    bool waitForMainWindow(QProcess& p, int ms = 20000)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (QFileInfo(home.path() + QStringLiteral("/Playlists")).isDir() && p.state() == QProcess::Running) {
                QThread::msleep(300);
                return true;
            }
            if (p.state() != QProcess::Running) return false;
            QThread::msleep(50);
        }
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
