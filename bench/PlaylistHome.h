#pragma once
// A started program on a temporary folder whose playlist holds real MP3 files of one
// folder (Music/track1.mp3 ...), each made from the song the caller describes; the dialogs
// answer through the recording services.
#include "BenchHome.h"
#include "common/ListViewModel.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"

#include <QCoreApplication>
#include <QDir>

#include <functional>
#include <vector>

struct PlaylistHome : BenchHome {
    PlaylistHome(int songs, const std::function<mp3maker::Song(int)>& song)
    {
        const QString music = dir.path() + QStringLiteral("/Music");
        QDir().mkpath(music);
        std::vector<QStringList> rows;
        for (int i = 1; i <= songs; ++i) {
            const QString path = music + QStringLiteral("/track%1.mp3").arg(i);
            mp3maker::makeMp3(path, song(i));
            rows.push_back({QString(), QString(), QString(), QString(), QStringLiteral("Play"), QString(), path});
        }
        Main();
        forms().get<FrmMain>().rows().addRows(rows);
        QCoreApplication::processEvents();
    }
    ~PlaylistHome()
    {
        forms().unloadAll();
        veltra::setUiServices(nullptr);
    }
    QString music(const QString& name) const { return dir.path() + QStringLiteral("/Music/") + name; }
};
