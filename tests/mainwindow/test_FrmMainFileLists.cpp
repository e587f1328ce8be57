// The File menu's lists in the started program: recent media and playlists, bookmarks with
// Add Selected, Clear and the Edit Bookmarks dialog, and moods.
#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modListFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmEditBookmarks.h"
#include "startup/Forms.h"
#include "mainwindow/FileCommandsFixture.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QPushButton>

#include <ostream>

using namespace veltra;

namespace {

class FileListsTest : public FileCommandsTest {
protected:
    FakeMediaPlayerControl& player() { return static_cast<FakeMediaPlayerControl&>(main().wmpPlayer()); }
    QString bookmarks() { return home("bookmarks.sbl"); }
    void fill(const QStringList& paths)
    {
        main().mnuNew_Click();
        for (const QString& p : paths) main().playlist_AddSong("", "", "", p);
        controls_RenumberItems(rows());
    }
    QStringList bookmarkCaptions()
    {
        QStringList out;
        for (int i = 0; i <= main().mnuBookmark->ubound(); ++i)
            if (QAction* a = main().mnuBookmark->at(i); a && a->isVisible()) out << a->text();
        return out;
    }
};

} // namespace

TEST_F(FileListsTest, RecentMediaPlaysItsRowOrReplacesThePlaylistAndForgetsMissingFiles)
{
    const QString a = song("a.mp3"), b = song("b.mp3"), c = song("c.mp3");
    struct Case {
        QStringList before;
        QString recent;
        QStringList after;   // empty: the file was missing
        int playing;
    };
    const Case cases[] = {
        {{a, b, b, c}, b, {a, b, b, c}, 2},   // the first of two rows with the file
        {{a, c}, b, {b}, 1},                   // not in the list: a playlist of that file alone
        {{a, c}, home("gone.mp3"), {}, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.recent.toStdString());
        fill(k.before);
        main().mnuStop_Click();
        ui.clear();
        settings_WriteValue("RecentMediaFiles", "Filename1", k.recent);
        settings_WriteValue("RecentMediaFiles", "Filename2", c);
        recentmedia_BuildMenu(*main().mnuRecentMedia);
        main().mnuRecentMedia->at(0)->trigger();
        if (k.after.isEmpty()) {
            ASSERT_EQ(ui.messages().size(), 1);
            EXPECT_EQ(ui.messages()[0].title, "Recent Filename Not Found");
            EXPECT_EQ(files(), k.before);
            EXPECT_EQ(settings_ReadValue("RecentMediaFiles", "Filename1"), c);   // the rest moved up
            EXPECT_TRUE(main().mnuRecentMedia->at(0)->text().endsWith("c.mp3"));
            continue;
        }
        EXPECT_TRUE(ui.messages().isEmpty());
        EXPECT_EQ(files(), k.after);
        EXPECT_EQ(main().CurrentTrack, k.playing);
        EXPECT_EQ(player().FileName(), k.recent);
        EXPECT_EQ(player().PlayState(), MediaPlayerControl::State::Playing);
    }
}

TEST_F(FileListsTest, RecentPlaylistOpensWithoutPlayingAndFollowsTheSongInThePlayer)
{
    const QString a = song("a.mp3"), b = song("b.mp3"), c = song("c.mp3");
    writePlaylist("Playlists/Evening.spp", {a, b, c});
    main().cmbPlaylists->clear();
    main().window_InstallPlaylists();
    // b plays from an old playlist, with the Play Next mark on a row
    fill({b, a});
    controls_SelectItem(rows(), 1);
    main().player_Play(1);
    main().tmrPosition_Timer();
    controls_SelectItem(rows(), 2);
    main().mnuPlayNext_Click();
    ASSERT_EQ(main().PlayNextIndex, 2);
    settings_WriteValue("RecentPlaylists", "Filename1", home("Playlists/Gone.spp"));
    settings_WriteValue("RecentPlaylists", "Filename2", home("Playlists/Evening.spp"));
    recentplaylists_BuildMenu(*main().mnuRecentPlaylist);
    ui.clear();

    main().mnuRecentPlaylist->at(1)->trigger();
    EXPECT_EQ(files(), (QStringList{a, b, c}));
    EXPECT_EQ(main().cmbPlaylists->currentText(), "Evening");
    EXPECT_TRUE(log().contains("\r\nEvening opened.\r\n"));
    EXPECT_EQ(main().PlayNextIndex, 0);
    EXPECT_EQ(main().CurrentTrack, 2);   // b, still playing, found in its new place
    EXPECT_EQ(player().FileName(), b);
    EXPECT_EQ(settings_ReadValue("RecentPlaylists", "Filename1"), home("Playlists/Gone.spp"));   // order kept

    main().mnuRecentPlaylist->at(0)->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Recent Playlist Filename Not Found");
    EXPECT_EQ(settings_ReadValue("RecentPlaylists", "Filename1"), home("Playlists/Evening.spp"));
    EXPECT_EQ(files(), (QStringList{a, b, c}));

    // A damaged playlist keeps the rows and is not reported opened; a file of a stored
    // playlist's name elsewhere is not that playlist, so Save cannot write over it.
    QDir().mkpath(home("elsewhere"));
    writeFile("elsewhere/Broken.spp", "\"1\"\r\n\"only two cells\"\r\n");
    writePlaylist("elsewhere/Evening.spp", {c});
    settings_WriteValue("RecentPlaylists", "Filename1", home("elsewhere/Broken.spp"));
    settings_WriteValue("RecentPlaylists", "Filename2", home("elsewhere/Evening.spp"));
    recentplaylists_BuildMenu(*main().mnuRecentPlaylist);
    const QString logBefore = log();
    main().mnuRecentPlaylist->at(0)->trigger();
    EXPECT_EQ(ui.messages().last().title, "Error Loading List");
    EXPECT_EQ(files(), (QStringList{a, b, c}));
    EXPECT_EQ(log(), logBefore);
    main().mnuRecentPlaylist->at(1)->trigger();
    EXPECT_EQ(files(), (QStringList{c}));
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_TRUE(log().endsWith("\r\nEvening opened.\r\n"));
}

TEST_F(FileListsTest, BookmarksAreWholeLinesAddedOnceClearedOnYesAndPlayedFromTheirMenu)
{
    const QString a = song("a.mp3"), comma = song("x, y.mp3"), c = song("R&B.mp3");
    // the file's last line has no line end; a comma-less part of a path is no bookmark
    writeFile("bookmarks.sbl", QString(home("music/x") + "\r\n" + a).toUtf8());
    fill({a, comma, c});
    for (int r = 1; r <= 3; ++r) rows().setSelected(r, true);
    main().tmrWindowUpdate_Timer();   // as its next tick would: the item is enabled with rows
    main().mnuAddSelected->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Song/Video Already In Bookmarks");
    EXPECT_EQ(ui.messages()[0].icon, int(MsgIcon::Information));
    EXPECT_EQ(readFile(bookmarks()), QString(home("music/x") + "\r\n" + a + "\r\n" + comma + "\r\n" + c + "\r\n").toUtf8());
    EXPECT_EQ(log().count(" added to the Bookmarks list."), 2);
    EXPECT_TRUE(log().contains(comma + " added to the Bookmarks list."));
    EXPECT_EQ(bookmarkCaptions(), (QStringList{"x", "a.mp3", "x, y.mp3", "R&&B.mp3"}));   // "&" shown as it is

    // A bookmark in the list plays its row; one that is not replaces the playlist.
    fill({c, comma});
    main().mnuBookmark->at(3)->trigger();
    EXPECT_EQ(files(), (QStringList{c, comma}));
    EXPECT_EQ(player().FileName(), comma);
    main().mnuBookmark->at(2)->trigger();
    EXPECT_EQ(files(), QStringList{a});
    EXPECT_EQ(player().FileName(), a);
    // an item whose line has gone from the file since the menu was built changes nothing
    writeFile("bookmarks.sbl", QString(a + "\r\n").toUtf8());
    main().mnuBookmark->at(4)->trigger();
    EXPECT_EQ(files(), QStringList{a});

    ui.clear();
    ui.msgAnswers = {MsgResult::No, MsgResult::Yes};
    main().mnuClearBookmarks->trigger();
    EXPECT_TRUE(QFile::exists(bookmarks()));
    main().mnuClearBookmarks->trigger();
    EXPECT_FALSE(QFile::exists(bookmarks()));
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[0].title, "Clear Bookmarks Confirmation");
    EXPECT_EQ(bookmarkCaptions(), QStringList{"[None]"});
}

// A bookmark file longer than a menu can hold: the menu shows its newest lines, each playing
// its own line, under an item that counts the older ones; the file stays whole.
TEST_F(FileListsTest, ALongBookmarkFileShowsItsNewestLinesAndStaysWhole)
{
    const int shown = FrmMain::kBookmarksShown;
    const QString newest = song("newest.mp3");
    QByteArray bytes;
    for (int i = 1; i < shown + 5; ++i) bytes += "/music/old " + QByteArray::number(i) + ".mp3\r\n";
    bytes += newest.toUtf8() + "\r\n";
    writeFile("bookmarks.sbl", bytes);
    main().window_InstallBookmarks();
    const QStringList captions = bookmarkCaptions();
    ASSERT_EQ(captions.size(), shown + 1);
    EXPECT_EQ(captions.first(), "[5 older bookmarks not shown]");
    EXPECT_FALSE(main().mnuBookmark->at(0)->isEnabled());
    EXPECT_EQ(captions[1], "old 6.mp3");
    EXPECT_EQ(captions.last(), "newest.mp3");
    // one column that scrolls, not columns running off the screen
    QMenu* menu = main().mnuOpenBookmark;
    menu->popup(QPoint(0, 0));
    EXPECT_LT(menu->width(), menu->screen()->availableGeometry().width() / 2);
    menu->hide();
    main().mnuBookmark->at(shown + 5)->trigger();
    EXPECT_EQ(player().FileName(), newest);
    EXPECT_EQ(readFile(bookmarks()), bytes);
}

TEST_F(FileListsTest, AMoodOpensWithItsMissingFilesChecksItsItemAndPlaysNothing)
{
    const QString a = song("a.mp3", "Artist A", "Title A");
    settings_WriteValue("Advanced", "Moods", "Happy|Sad");
    writeFile("Moods/Sad.mlst", QString(a + "\r\n" + home("gone.mp3") + "\r\n").toUtf8());
    main().window_RemoveMoodMenus();
    main().window_InstallMoods();
    main().window_UpdateMoods();
    main().mnuMoodOpen->at(1)->setChecked(true);   // Happy was open before
    fill({song("b.mp3")});
    ASSERT_TRUE(main().mnuMoodOpen->at(2)->isEnabled());
    main().mnuMoodOpen->at(2)->trigger();
    EXPECT_EQ(files(), (QStringList{a, home("gone.mp3")}));
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Artist), "Artist A");   // tags read
    EXPECT_FALSE(main().mnuMoodOpen->at(1)->isChecked());
    EXPECT_TRUE(main().mnuMoodOpen->at(2)->isChecked());
    EXPECT_TRUE(log().contains("\r\nSad Mood opened.\r\n"));
    EXPECT_NE(player().PlayState(), MediaPlayerControl::State::Playing);
    // Reset Moods answered No still rebuilds the menu.
    ui.msgAnswers = {MsgResult::No};
    main().mnuResetMoods->trigger();
    EXPECT_TRUE(QFile::exists(home("Moods/Sad.mlst")));
    EXPECT_TRUE(main().mnuMoodOpen->at(2) && main().mnuMoodOpen->at(2)->isEnabled() && !main().mnuMoodOpen->at(2)->isChecked());
}

TEST_F(FileListsTest, EditBookmarksMenuStatesFollowTheListAndItsSelection)
{
    struct Case {
        int entries;
        int selected;   // -1: none
        const char* expected;   // up, down, remove selected, remove dead, clear
    };
    const Case cases[] = {{0, -1, "00000"}, {3, -1, "00011"}, {1, 0, "00111"}, {3, 0, "01111"}, {3, 2, "10111"}, {3, 1, "11111"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.entries) + " " + std::to_string(c.selected));
        QStringList lines;
        for (int i = 0; i < c.entries; ++i) lines << QString("/music/%1.mp3").arg(i);
        QFile::remove(bookmarks());
        if (c.entries) writeFile("bookmarks.sbl", QString(lines.join("\r\n") + "\r\n").toUtf8());
        FrmEditBookmarks& dialog = forms().fresh<FrmEditBookmarks>();
        EXPECT_EQ(dialog.selectedIndex(), -1);
        if (c.selected >= 0) dialog.lstBookmarks->setCurrentRow(c.selected);
        QString state;
        for (QAction* a : {dialog.mnuMoveUpOne, dialog.mnuMoveDownOne, dialog.mnuRemoveSelected, dialog.mnuRemoveDeadFilenames, dialog.mnuClear})
            state += a->isEnabled() ? '1' : '0';
        EXPECT_EQ(state, c.expected);
    }
    EXPECT_TRUE(forms().get<FrmEditBookmarks>().mnuMoveUpOne->text().endsWith("\tAlt+Up"));
}

TEST_F(FileListsTest, EditBookmarksSavesOnlyOnSaveDeletesAnEmptyListAndReportsAFailedWrite)
{
    const QString a = song("a.mp3"), b = song("b.mp3");
    const QByteArray original = QString(a + "\r\n" + home("dead1.mp3") + "\r\n\r\n" + home("dead2.mp3") + "\r\n" + b + "\r\n").toUtf8();
    auto key = [](QWidget* w, int k, Qt::KeyboardModifiers m) {
        QKeyEvent e(QEvent::KeyPress, k, m);
        QCoreApplication::sendEvent(w, &e);
    };
    auto entries = [](FrmEditBookmarks& d) {
        QStringList out;
        for (int i = 0; i < d.lstBookmarks->count(); ++i) out << d.lstBookmarks->item(i)->text();
        return out;
    };

    // Moves and removals by key, then Close: the file stays byte for byte.
    writeFile("bookmarks.sbl", original);
    ui.modalHandlers.push_back([&](QObject* form) {
        auto& d = *qobject_cast<FrmEditBookmarks*>(form);
        ASSERT_EQ(d.lstBookmarks->count(), 5);   // the blank line is an entry
        d.lstBookmarks->setFocus();
        key(d.lstBookmarks, Qt::Key_Delete, Qt::NoModifier);   // nothing selected: nothing happens
        EXPECT_EQ(d.lstBookmarks->count(), 5);
        d.lstBookmarks->setCurrentRow(0);
        key(d.lstBookmarks, Qt::Key_Up, Qt::AltModifier);   // the first stays first
        key(d.lstBookmarks, Qt::Key_Down, Qt::AltModifier);
        EXPECT_EQ(entries(d).mid(0, 2), (QStringList{home("dead1.mp3"), a}));
        EXPECT_EQ(d.selectedIndex(), 1);
        key(d.lstBookmarks, Qt::Key_Delete, Qt::NoModifier);
        EXPECT_EQ(d.lstBookmarks->count(), 4);
        EXPECT_EQ(d.selectedIndex(), 1);
        d.cmdClose->click();
    });
    main().mnuEditBookmarks->trigger();
    EXPECT_EQ(readFile(bookmarks()), original);

    // Remove Dead Filenames: two adjacent dead ones and the blank one go; it reports, saves and closes.
    FrmEditBookmarks* dialog = &forms().fresh<FrmEditBookmarks>();
    ui.clear();
    dialog->mnuRemoveDeadFilenames->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Remove Dead Filenames Information");
    EXPECT_TRUE(ui.messages()[0].text.startsWith("It has been detected that you had 3 dead filenames in the list."));
    EXPECT_EQ(readFile(bookmarks()), QString(a + "\r\n" + b + "\r\n").toUtf8());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(log().contains("\r\nBookmarks were modified from the Edit window.\r\n"));
    EXPECT_EQ(bookmarkCaptions(), (QStringList{"a.mp3", "b.mp3"}));

    // Clear answered No keeps the file but empties the list; Save then deletes it, logging nothing.
    const int logged = int(log().count("Bookmarks were modified"));
    dialog = &forms().fresh<FrmEditBookmarks>();
    ui.msgAnswers = {MsgResult::No};
    dialog->mnuClear->trigger();
    EXPECT_TRUE(QFile::exists(bookmarks()));
    EXPECT_EQ(dialog->lstBookmarks->count(), 0);
    dialog->cmdSave->click();
    EXPECT_FALSE(QFile::exists(bookmarks()));
    EXPECT_EQ(log().count("Bookmarks were modified"), logged);
    EXPECT_EQ(bookmarkCaptions(), QStringList{"[None]"});

    // A write that fails keeps the old file, the dialog and its list.
    QDir().mkpath(bookmarks());
    dialog = &forms().fresh<FrmEditBookmarks>();
    dialog->lstBookmarks->addItem(a);
    ui.clear();
    dialog->cmdSave->click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Edit Bookmarks Error");
    EXPECT_EQ(ui.messages()[0].text, "The bookmarks could not be saved.\r\n\r\nThis function will not continue.\r\n");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(entries(*dialog), QStringList{a});
    EXPECT_TRUE(QFileInfo(bookmarks()).isDir());
}
