// Generate Playlist and Random Songs Playlist, opened from the Playlists menu of the started
// program and typed into.
#include "mainwindow/PlaylistFilesFixture.h"

#include "common/ListView.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "playlisttools/FrmAddLocation.h"
#include "playlisttools/FrmGeneratePlaylist.h"
#include "playlisttools/FrmRandomSongsPlaylist.h"
#include "playlisttools/FrmRenamePlaylist.h"
#include "playlisttools/OptionButtons.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QtTest/QTest>

using veltra::MsgResult;

class NewPlaylistTest : public PlaylistFilesFixture {
protected:
    // Opens the dialog through its menu item; `inside` runs while it is open.
    template <class F>
    void open(QAction* item, std::function<void(F&)> inside)
    {
        main().tmrWindowUpdate_Timer();
        ui.modalHandlers.push_back([inside](QObject* form) {
            auto* dialog = qobject_cast<F*>(form);
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
        });
        clickInMenu(main().mnuNewPlaylist, item);
        EXPECT_FALSE(forms().isLoaded<F>());
    }
    void rowsWith(const QList<QStringList>& rowsCells)   // artist, year, status, file
    {
        for (const QStringList& c : rowsCells) {
            main().playlist_AddSong(c[0], "T", c[1], c[3]);
            main().rows().setSubItem(main().rows().count(), PlaylistColumn::Status, c[2]);
        }
        controls_RenumberItems(rows());
    }
    static void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // A playlist file's records, seven fields each.
    static QList<QStringList> recordsOf(const QString& path)
    {
        const QStringList fields = listfile::readFields(QString::fromUtf8(mp3maker::readBytes(path)));
        QList<QStringList> out;
        for (qsizetype i = 0; i + 7 <= fields.size(); i += 7) out.append(fields.mid(i, 7));
        return out;
    }
};

TEST_F(NewPlaylistTest, GenerateByArtistWritesTheProperCaseFileOfWholeMatchesNumberedInOrder)
{
    rowsWith({{"The Night Owls", "1990", "Play", "/m/1.mp3"}, {"Night Owls", "", "Skip", "/m/2.mp3"},
              {"THE NIGHT OWLS", "1991", "Skip Once", "/m/3.mp3"}, {"The Night Owls Band", "", "Play", "/m/4.mp3"}});
    const QString file = home("Playlists/The Night Owls.spp");
    open<FrmGeneratePlaylist>(main().mnuGeneratePlaylist, [&](FrmGeneratePlaylist& d) {
        EXPECT_TRUE(d.opOptions->isSelected(0));
        EXPECT_TRUE(d.pbBar->isHidden());
        EXPECT_EQ(d.cmdClose->text(), "C&lose");
        d.chkOpenPlaylist->setChecked(false);
        d.show();
        type(d.txtCriteria, "the night owls");
        QTest::keyClick(d.txtCriteria, Qt::Key_Return);   // the default button
        EXPECT_EQ(d.txtCriteria->text(), "The Night Owls");
        EXPECT_EQ(d.lblSearchResults->text(), "Songs Added To Playlist:  2");
        EXPECT_EQ(d.lstvItems->items().cells(2), QStringList({"02", "THE NIGHT OWLS", "T"}));
        EXPECT_TRUE(d.txtCriteria->isEnabled());

        // A trailing blank matches nothing and leaves no file.
        type(d.txtCriteria, "Night Owls ");
        d.cmdCreate->click();
        EXPECT_EQ(lastBox(), "Generating Playlist Error|The search critera that you entered was not valid.\r\n\r\nNo playlist was created.\r\n");
        EXPECT_EQ(d.lblSearchResults->text(), "Songs Added To Playlist:  None");
        EXPECT_EQ(d.lstvItems->items().count(), 0);
        EXPECT_FALSE(QFileInfo::exists(home("Playlists/Night Owls .spp")));

        // A name no file can carry.
        type(d.txtCriteria, "AC/DC");
        d.cmdCreate->click();
        EXPECT_TRUE(lastBox().startsWith("Generating Playlist Error|It has been detected that you have entered a character that is not supported."));
    });
    const QList<QStringList> records = recordsOf(file);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0], QStringList({"001", "The Night Owls", "T", "1990", "Play", "", "/m/1.mp3"}));
    EXPECT_EQ(records[1], QStringList({"002", "THE NIGHT OWLS", "T", "1991", "Skip Once", "", "/m/3.mp3"}));
    EXPECT_EQ(log().count(file + " saved as playlist."), 1);
    EXPECT_EQ(rows().count(), 4);                 // not opened: the rows stay
    EXPECT_TRUE(box().contains("The Night Owls"));   // and the box lists it
}

TEST_F(NewPlaylistTest, GenerateAsksAboutAnExistingPlaylistKeepsItWithoutAMatchAndOpensTheResult)
{
    const QString rock = playlist("Rock.spp", 1);
    const QByteArray old = readFile(rock);
    rowsWith({{"rock", "1999", "Play", "/m/a.mp3"}, {"Pop", "2001", "Play", "/m/b.mp3"}, {"ROCK", "2000", "Play", "/m/c.mp3"}});
    main().PlayNextIndex = 2;   // a mark the new rows must not keep
    open<FrmGeneratePlaylist>(main().mnuGeneratePlaylist, [&](FrmGeneratePlaylist& d) {
        // The year box: four digits, no leading "0"; the others take any 30 characters.
        d.opOptions->at(2)->click();
        type(d.txtCriteria, "0199x95");
        EXPECT_EQ(d.txtCriteria->text(), "1999");
        d.opOptions->at(0)->click();
        type(d.txtCriteria, QString(40, u'x'));
        EXPECT_EQ(d.txtCriteria->text().size(), 30);

        type(d.txtCriteria, "rOCK");
        ui.msgAnswers.push_back(MsgResult::No);
        d.cmdCreate->click();
        EXPECT_EQ(ui.messages().last().title, "Overwrite Existing Playlist Confirmation");
        EXPECT_EQ(d.txtCriteria->text(), "rOCK");   // No: nothing has changed

        d.opOptions->at(1)->click();   // no MPEG file here has an album
        d.cmdCreate->click();
        EXPECT_EQ(ui.messages().last().title, "Generating Playlist Error");
        EXPECT_EQ(readFile(rock), old);   // the older playlist stays

        d.opOptions->at(0)->click();
        d.cmdCreate->click();
    });
    EXPECT_EQ(recordsOf(rock).size(), 2);
    EXPECT_EQ(main().rows().count(), 2);
    EXPECT_EQ(main().rows().cells(1).mid(0, 2), QStringList({"01", "rock"}));
    EXPECT_EQ(shown(), "Rock");
    EXPECT_EQ(main().PlayNextIndex, 0);
    EXPECT_EQ(main().CurrentTrack, 1);
    EXPECT_EQ(settings_ReadValue("RecentPlaylists", "Filename1"), rock);
}

TEST_F(NewPlaylistTest, GenerateByAlbumReadsTheTagsOfMpegFilesOnly)
{
    const QString v1only = home("Music/one.mp3"), both = home("Music/two.mp3"), other = home("Music/three.ogg");
    QDir().mkpath(home("Music"));
    mp3maker::makeMp3(v1only, {.album = "Blue", .id3v1 = true, .id3v2 = false});
    mp3maker::makeMp3(both, {.album = "Blue", .id3v1 = true, .id3v2 = true});
    mp3maker::makeMp3(other, {.album = "Blue", .id3v1 = true, .id3v2 = true});
    rowsWith({{"A", "", "Play", v1only}, {"B", "", "Play", both}, {"Blue", "", "Play", other}});
    open<FrmGeneratePlaylist>(main().mnuGeneratePlaylist, [&](FrmGeneratePlaylist& d) {
        d.chkOpenPlaylist->setChecked(false);
        d.opOptions->at(1)->click();
        type(d.txtCriteria, "blue");
        d.cmdCreate->click();
        EXPECT_EQ(d.lstvItems->items().count(), 2);
        ui.msgAnswers.push_back(MsgResult::Yes);
        d.chkUseID3v2->setChecked(true);   // no fall-back to the older tag
        d.cmdCreate->click();
        EXPECT_EQ(d.lstvItems->items().count(), 1);
    });
    const QList<QStringList> records = recordsOf(home("Playlists/Blue.spp"));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0][6], both);
}

TEST_F(NewPlaylistTest, RandomSongsChecksTheCountWritesDistinctRowsAndResets)
{
    for (int i = 1; i <= 40; ++i)
        rowsWith({{QString("A%1").arg(i), "", i <= 20 ? "Skip" : i <= 30 ? "Skip Once" : "Play", QString("/m/%1.mp3").arg(i)}});
    open<FrmRandomSongsPlaylist>(main().mnuUseRandomSongsForPlaylist, [&](FrmRandomSongsPlaylist& d) {
        EXPECT_EQ(d.txtSongCount->text(), "20");
        EXPECT_EQ(d.cmbOptions->currentText(), "Use All The Songs Available");
        type(d.txtPlaylistName, "Party Mix");
        const std::pair<const char*, const char*> refused[] = {
            {"21", "You have to have double the amount of songs available in the playlist than the song count you have entered."},
            {"41", "The song count you have entered is higher than the number of songs in the active playlist."},
            {"", "It has been detected that you have not entered a number of songs to include in the playlist."},
        };
        for (const auto& [count, first] : refused) {
            d.txtSongCount->setText(count);
            d.cmdCreate->click();
            EXPECT_EQ(lastBox(), QString("Creating Random Songs Playlist|") + first + "\r\n\r\nThis function will not be proformed.\r\n");
        }
        // Without the rows set to "Skip" only 20 are left to draw from.
        d.cmbOptions->setCurrentIndex(1);
        d.txtSongCount->setText("21");
        d.cmdCreate->click();
        EXPECT_TRUE(lastBox().contains("higher than the number of songs"));
        d.txtSongCount->setText("20");
        d.cmdCreate->click();
        EXPECT_EQ(d.txtPlaylistName->text(), "");
        EXPECT_EQ(d.txtSongCount->text(), "");
        EXPECT_EQ(d.cmbOptions->currentIndex(), 0);
        d.cmdCreate->click();
        EXPECT_TRUE(lastBox().contains("you have not entered a playlist name."));

        // "0" writes nothing.
        type(d.txtPlaylistName, "Empty");
        d.txtSongCount->setText("0");
        d.cmdCreate->click();
        EXPECT_FALSE(QFileInfo::exists(home("Playlists/Empty.spp")));

        type(d.txtPlaylistName, "Party Mix");
        d.txtSongCount->setText("3");
        d.cmdCreate->click();
        EXPECT_EQ(lastBox(), "Creating Random Songs Playlist|It has been detected that the playlist name you have entered already exists."
                             "\r\n\r\nThis function will not be proformed.\r\n");
        type(d.txtPlaylistName, "Three");
        d.opOptions->at(1)->click();
        d.cmdCreate->click();   // and the dialog closes
    });
    const QList<QStringList> records = recordsOf(home("Playlists/Party Mix.spp"));
    ASSERT_EQ(records.size(), 20);
    QSet<QString> files;
    for (const QStringList& r : records) {
        EXPECT_EQ(r[0], "");
        EXPECT_NE(r[4], "Skip");
        files.insert(r[6]);
    }
    EXPECT_EQ(files.size(), 20);   // all ten "Skip Once" rows among them
    EXPECT_TRUE(readFile(home("Playlists/Party Mix.spp")).startsWith("\"\"\r\n"));
    EXPECT_EQ(recordsOf(home("Playlists/Three.spp")).size(), 3);
    EXPECT_TRUE(box().contains("Party Mix"));
    EXPECT_EQ(rows().count(), 40);
}

// Shown, each dialog takes what the user types into its first box, not its default button
// (where a blank would run it).
TEST_F(NewPlaylistTest, ShownDialogsTakeTypingInTheirFirstBox)
{
    rowsWith({{"A", "", "Play", "/m/a.mp3"}});
    auto check = [](QDialog& d, QLineEdit* first) {
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        QWidget* focus = QApplication::focusWidget();
        // An editable combo box holds the focus for its line edit.
        EXPECT_TRUE(focus == first || (focus && focus == first->parentWidget())) << d.objectName().toStdString();
        QTest::keyClicks(QApplication::focusWidget(), "Mix 1");
        EXPECT_EQ(first->text(), "Mix 1");
        d.hide();
    };
    FrmGeneratePlaylist& generate = forms().fresh<FrmGeneratePlaylist>();
    check(generate, generate.txtCriteria);
    forms().unload<FrmGeneratePlaylist>();
    FrmRandomSongsPlaylist& random = forms().fresh<FrmRandomSongsPlaylist>();
    check(random, random.txtPlaylistName);
    forms().unload<FrmRandomSongsPlaylist>();
    // Dialogs whose button row is made before their boxes.
    FrmAddLocation& location = forms().fresh<FrmAddLocation>();
    check(location, location.cmbLocation->lineEdit());
    forms().unload<FrmAddLocation>();
    FrmRenamePlaylist& rename = forms().fresh<FrmRenamePlaylist>();
    rename.txtName->clear();
    check(rename, rename.txtName);
    forms().unload<FrmRenamePlaylist>();
    EXPECT_TRUE(ui.messages().isEmpty());
}
