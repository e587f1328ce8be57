#pragma once
// The main window with the fake player and the Jump To Media dialog over a playlist of MP3
// files with given tags and rows of other files.
#include "../mainwindow/PlaybackFixture.h"

#include "common/modSettings.h"
#include "playlisttools/FrmJump.h"
#include "playlisttools/OptionButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class JumpTest : public PlaybackTest {
protected:
    // An MP3 under Music/ (or the folder given in `name`) with an ID3v1 tag of `v1` and, when
    // `v2` has an artist, an ID3v2 tag of `v2`.
    QString tagged(const QString& name, const mp3maker::Song& v1, const mp3maker::Song& v2 = {})
    {
        const QString path = home(name);
        mp3maker::Song audio = v1;
        audio.seconds = 0.2;
        audio.id3v1 = true;
        const QByteArray bytes = (v2.artist.isEmpty() ? QByteArray() : mp3maker::id3v2Tag(v2)) + mp3maker::audioFrames(audio) + mp3maker::id3v1Tag(audio);
        EXPECT_TRUE(mp3maker::writeBytes(path, bytes));
        return path;
    }
    // A file of another type that the (fake) player takes.
    QString other(const QString& name) { return writeFile(name, "not audio"); }
    void addRow(const QString& artist, const QString& title, const QString& year, const QString& file)
    {
        main->playlist_AddSong(artist, title, year, file);
        controls_RenumberItems(list());
    }

    FrmJump& dialog() { return forms().get<FrmJump>(); }
    // The hits as "artist/title", in order.
    QStringList hits()
    {
        QStringList out;
        const ListViewModel& r = dialog().lstvItems->items();
        for (int i = 1; i <= r.count(); ++i) out << r.cell(i, 1) + "/" + r.cell(i, 2);
        return out;
    }
    void search(const QString& text, int mode, int field, bool notEqual = false)
    {
        FrmJump& d = dialog();
        d.cmbSearch->setEditText(text);
        d.opSearchMode->select(mode);
        d.opOptions->select(field);
        d.cmbOp->setCurrentIndex(notEqual ? 1 : 0);
        d.cmdFind_Click();
    }
    QString jumpKey(const char* key) { return settings_ReadValue("JumpToMedia", QString::fromLatin1(key), "?"); }
};
