#pragma once
// The started program with playlist files of its own in the Playlists folder.
#include "mainwindow/MainWindowFixture.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/modListFiles.h"
#include "common/modPlaylistFiles.h"

#include <QFile>
#include <QFileInfo>

class PlaylistFilesFixture : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        QDir().mkpath(home(".xdg-data"));   // the desktop's data folder, where the trash lives
        startDefault();
    }

    // A playlist file of `songs` rows ("Artist n", "Title n", /m/<name>n.mp3) under Playlists.
    QString playlist(const QString& fileName, int songs = 2)
    {
        ListViewModel m;
        m.setColumns(PlaylistColumn::headers());
        const QString base = QFileInfo(fileName).completeBaseName();
        for (int i = 1; i <= songs; ++i)
            m.add({QString::number(i), QStringLiteral("Artist %1").arg(i), QStringLiteral("Title %1").arg(i), QString(), "Play",
                   QString(), QStringLiteral("/m/%1%2.mp3").arg(base).arg(i)});
        QDir().mkpath(home("Playlists"));
        const QString path = home("Playlists/" + fileName);
        EXPECT_TRUE(controls_SaveListView(m, path));
        return path;
    }
    // The box and the Send To items as the files now are.
    void refill() { main().playlist_RefillBox(QString()); }
    void choose(const QString& name)
    {
        const int i = main().cmbPlaylists->findText(name);
        ASSERT_GE(i, 1) << name.toStdString();
        main().cmbPlaylists->setCurrentIndex(i);
    }
    QStringList box()
    {
        QStringList out;
        for (int i = 0; i < main().cmbPlaylists->count(); ++i) out << main().cmbPlaylists->itemText(i);
        return out;
    }
    QString shown() { return main().cmbPlaylists->currentText(); }
    QString log() { return forms().get<FrmConsole>().Text(); }
    QString lastLog()
    {
        const QStringList lines = log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.last();
    }
    static QString records(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // The file dialog's answer: this file, through the filter numbered from 1.
    void answerFile(const QString& path, int filter = 1) { ui.fileAnswers.push_back({false, {path}, filter}); }
    // What the last message box said, as "title|text".
    QString lastBox()
    {
        const auto boxes = ui.messages();
        return boxes.isEmpty() ? QString() : boxes.last().title + u'|' + boxes.last().text;
    }
    static void makeReadOnly(const QString& path) { QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther); }
    QString trashed(const QString& fileName) const { return home(".xdg-data/Trash/files/" + fileName); }
};
