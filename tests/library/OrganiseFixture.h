#pragma once
// The program started on a fresh folder, with tagged songs to rename and move, and the
// texts the rename and move tools leave behind.
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "extras/FrmTracking.h"
#include "mainwindow/MainWindowFixture.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include <functional>

// A real box runs the queued events while it is up: the user's clicks arrive mid-run.
class BusyUi : public veltra::RecordingUiServices {
public:
    std::function<void()> duringMessage;
    veltra::MsgResult msgBox(const QString& text, veltra::MsgButtons buttons, veltra::MsgIcon icon, const QString& title) override
    {
        if (duringMessage) duringMessage();
        return RecordingUiServices::msgBox(text, buttons, icon, title);
    }
};

class OrganiseTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        startDefault();
    }

    // A real MP3 (both tags unless told otherwise) under the program folder.
    QString tagged(const QString& relative, const QString& artist, const QString& title, const QString& album = QString(),
                   const QString& year = QString(), bool id3v1 = true)
    {
        const QString path = home(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        mp3maker::makeMp3(path, {.artist = artist, .title = title, .album = album, .year = year, .seconds = 0.2,
                                 .bitrate = 32, .id3v1 = id3v1, .id3v2 = true});
        return path;
    }
    // A playlist row for the file; returns its row.
    int addFile(const QString& path)
    {
        main().playlist_AddSong(QString(), QString(), QString(), path);
        return rows().count();
    }
    QString fileOfRow(int row) { return rows().subItem(row, 6); }
    QString log() { return forms().get<FrmConsole>().Text(); }
    QString lastMessage() { return ui.messages().isEmpty() ? QString() : ui.messages().back().text; }
    QString lastTitle() { return ui.messages().isEmpty() ? QString() : ui.messages().back().title; }

    // Rows of the play-count and volume lists naming a file.
    void remember(const QString& path)
    {
        forms().get<FrmTracking>().lstvItems->items().add({QStringLiteral("A"), QStringLiteral("T"), QStringLiteral("03"), path});
        forms().get<FrmAdjustVolumes>().lstvItems->items().add({QStringLiteral("A"), QStringLiteral("T"), QStringLiteral("40"), path});
    }
    QString trackedFile() { return forms().get<FrmTracking>().lstvItems->items().subItem(1, 3); }
    QString volumeFile() { return forms().get<FrmAdjustVolumes>().lstvItems->items().subItem(1, 3); }

    // A named playlist chosen in the playlist box (without loading it).
    void namePlaylist(const QString& name)
    {
        FrmMain& m = main();
        const bool ready = m.PlaylistComboReady;
        m.PlaylistComboReady = false;
        m.cmbPlaylists->addItem(name);
        m.cmbPlaylists->setCurrentIndex(m.cmbPlaylists->count() - 1);
        m.PlaylistComboReady = ready;
    }

    // Real input, queued for the event loop as the window system would deliver it.
    static void postClick(QWidget* w)
    {
        QWidget* top = w->window();
        const QPointF local = QPointF(w->rect().center());
        const QPointF inWindow = w->mapTo(top, local);
        const QPointF global = w->mapToGlobal(local);
        QCoreApplication::postEvent(top->windowHandle(), new QMouseEvent(QEvent::MouseButtonPress, inWindow, inWindow, global,
                                                                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(top->windowHandle(), new QMouseEvent(QEvent::MouseButtonRelease, inWindow, inWindow, global,
                                                                         Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    }
    static void postKey(QWidget* w, int key)
    {
        QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
    }
};
