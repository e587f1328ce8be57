// The names a new or renamed playlist may take, the same for every command that names one:
// not that of the playlist saved on exit, in any letter case, and not a stored playlist's
// name in another letter case (the box and its lookup would take the two for one).
#include "mainwindow/PlaylistFilesFixture.h"

#include "common/ListView.h"
#include "library/FrmMediaLibrary.h"
#include "playlisttools/FrmGeneratePlaylist.h"
#include "playlisttools/FrmRandomSongsPlaylist.h"
#include "playlisttools/FrmRenamePlaylist.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMap>

#include <functional>

using veltra::MsgResult;

namespace {

class PlaylistNamesTest : public PlaylistFilesFixture {
public:
    // for the commands of the table
    using PlaylistFilesFixture::answerFile;
    using PlaylistFilesFixture::choose;
    using PlaylistFilesFixture::refill;
    using VeltraTest::home;
    using MainWindowTest::main;


    // Every file of the Playlists folder with its bytes.
    QMap<QString, QByteArray> stored()
    {
        QMap<QString, QByteArray> out;
        for (const QString& name : QDir(home("Playlists")).entryList(QDir::Files)) out.insert(name, readFile(home("Playlists/" + name)));
        return out;
    }
    // Runs a dialog of the main window's menu; `inside` acts in it while it is open.
    template <class F>
    void inDialog(QMenu* menu, QAction* item, std::function<void(F&)> inside)
    {
        main().tmrWindowUpdate_Timer();   // enables the commands by the playlist's state
        ui.modalHandlers.push_back([inside](QObject* form) {
            auto* dialog = qobject_cast<F*>(form);
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
        });
        clickInMenu(menu, item);
    }
    FrmMediaLibrary& library()
    {
        if (!forms().isLoaded<FrmMediaLibrary>()) main().mnuOpenMediaLibrary->trigger();
        return forms().get<FrmMediaLibrary>();
    }
};

struct Command {
    const char* name;
    std::function<void(PlaylistNamesTest&, const QString& typed)> run;   // names a playlist `typed`
    QString reserved;    // "title|text" of the box for the name of the playlist saved on exit
    QString taken;       // title of the box for a stored playlist's name in another letter case
    bool asks;           // that box is a question: Yes writes over the stored playlist
};

TEST_F(PlaylistNamesTest, NoCommandTakesTheDefaultNameOrAStoredNameInAnotherLetterCase)
{
    main().show();
    for (const char* artist : {"jazz", "default", "Pop", "Soul"}) addRow(artist, "Song");
    const QString jazz = playlist("Jazz.SPP", 1);
    const QString mine = playlist("Mine.spp", 1);   // renamed last: opening it replaces the rows
    playlist("default.spp", 3);
    const QString exists = "The filename you have entered/selected already exists.";
    const QString notPerformed = "\r\n\r\nThis function will not be proformed.\r\n";
    const Command commands[] = {
        {"Save As",
         [](PlaylistNamesTest& t, const QString& typed) {
             t.answerFile(t.home("Playlists/" + typed + ".spp"));
             t.main().tmrWindowUpdate_Timer();
             clickInMenu(t.main().mnuFile, t.main().mnuSavePlaylistAs);
         },
         "Save Playlist Error|" + exists + "\r\n\r\nThis function will not continue.\r\n", "Overwrite Existing File Confirmation", true},
        {"library Save As",
         [](PlaylistNamesTest& t, const QString& typed) {
             FrmMediaLibrary& lib = t.library();
             lib.results_Add("A", "T", "2000", "00:03", "/m/one.mp3");
             lib.tmrWindowUpdate_Timer();
             t.answerFile(t.home("Playlists/" + typed + ".spp"));
             lib.mnuSaveAs->trigger();
         },
         "Save Playlist Error|" + exists + "\r\n\r\nThis function will not continue.\r\n", "Overwrite Existing File Confirmation", true},
        {"Generate",
         [](PlaylistNamesTest& t, const QString& typed) {
             t.inDialog<FrmGeneratePlaylist>(t.main().mnuNewPlaylist, t.main().mnuGeneratePlaylist, [typed](FrmGeneratePlaylist& d) {
                 d.chkOpenPlaylist->setChecked(false);
                 d.txtCriteria->setText(typed);
                 d.cmdCreate_Click();
             });
         },
         "Generating Playlist Error|It has been detected that the playlist you wish to create already exists.\r\n\r\nNo playlist was created.\r\n",
         "Overwrite Existing Playlist Confirmation", true},
        {"Random Songs",
         [](PlaylistNamesTest& t, const QString& typed) {
             t.inDialog<FrmRandomSongsPlaylist>(t.main().mnuNewPlaylist, t.main().mnuUseRandomSongsForPlaylist, [typed](FrmRandomSongsPlaylist& d) {
                 d.txtPlaylistName->setText(typed);
                 d.txtSongCount->setText("1");
                 d.cmdCreate_Click();
             });
         },
         "Creating Random Songs Playlist|It has been detected that the playlist name you have entered already exists." + notPerformed,
         "Creating Random Songs Playlist", false},
        {"Rename",
         [](PlaylistNamesTest& t, const QString& typed) {
             t.refill();
             t.choose("Mine");
             t.inDialog<FrmRenamePlaylist>(t.main().mnuPlaylists, t.main().mnuRenameCurrentPlaylist, [typed](FrmRenamePlaylist& d) {
                 d.txtName->setText(typed);
                 d.cmdRename_Click();
             });
         },
         "Renaming Playlist Name Error|An error has occur while trying to rename the playlists filename.  Make sure that the file is not in use."
             + notPerformed,
         "Renaming Playlist Name Error", false},
    };
    for (const Command& c : commands) {
        for (const QString typed : {"default", "DEFAULT", "jazz"}) {
            SCOPED_TRACE(std::string(c.name) + " " + typed.toStdString());
            const QMap<QString, QByteArray> before = stored();
            ui.clear();
            ui.msgAnswers.assign({MsgResult::No});
            c.run(*this, typed);
            ASSERT_FALSE(ui.messages().isEmpty());
            if (typed == "jazz") {
                EXPECT_EQ(ui.messages().last().title, c.taken);
            } else {
                EXPECT_EQ(lastBox(), c.reserved);
            }
            EXPECT_EQ(stored(), before);   // nothing written, renamed or hidden
            EXPECT_TRUE(QFileInfo::exists(mine));
        }
        if (!c.asks) continue;
        // Yes writes over the stored playlist under its own name: still one Jazz.
        SCOPED_TRACE(c.name);
        const QByteArray old = readFile(jazz);
        const QStringList names = stored().keys();
        ui.msgAnswers.clear();
        c.run(*this, "jazz");
        EXPECT_EQ(stored().keys(), names);
        EXPECT_NE(readFile(jazz), old);
    }
    ui.msgAnswers.clear();

    // A playlist may change its own letter case.
    const Command& rename = commands[4];
    rename.run(*this, "MINE");
    EXPECT_TRUE(QFileInfo::exists(home("Playlists/MINE.spp")));
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Jazz", "MINE"}));
}

TEST_F(PlaylistNamesTest, SaveAsGivesANameTypedWithoutItsExtensionTheExtension)
{
    addRow("A", "Song");
    QDir().mkpath(home("Playlists"));
    answerFile(home("Playlists/Blues"));
    main().mnuSavePlaylistAs_Click();
    EXPECT_EQ(ui.calls.last().fileRequest.defaultExt, "spp");
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Blues"}));
    EXPECT_TRUE(QFileInfo::exists(home("Playlists/Blues.spp")));

    library().results_Add("A", "T", "2000", "00:03", "/m/one.mp3");
    library().tmrWindowUpdate_Timer();
    answerFile(home("Playlists/Folk.Songs"));
    answerFile(home("Playlists/Reggae.SPP"));   // typed: kept as it is
    library().mnuSaveAs->trigger();
    library().mnuSaveAs->trigger();
    EXPECT_EQ(ui.calls.last().fileRequest.defaultExt, "spp");
    EXPECT_EQ(QDir(home("Playlists")).entryList(QDir::Files), QStringList({"Blues.spp", "Folk.Songs.spp", "Reggae.SPP"}));
    EXPECT_TRUE(box().contains("Folk.Songs"));
}

} // namespace
