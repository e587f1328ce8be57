// The names a new or renamed playlist may take, the same for every command that names one:
// not that of the playlist saved on exit, in any letter case, and not a stored playlist's
// name in another letter case (the box and its lookup would take the two for one).
#include "mainwindow/PlaylistFilesFixture.h"

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
    QString reserved;   // "title|text" of the refusal of the name of the playlist saved on exit
    QString question;   // for a stored name in another letter case: this question, or that refusal
};

TEST_F(PlaylistNamesTest, NoCommandTakesTheDefaultNameOrAStoredNameInAnotherLetterCase)
{
    main().show();
    for (const char* artist : {"jazz", "default", "Pop", "Soul"}) addRow(artist, "Song");
    const QString jazz = playlist("Jazz.SPP", 1);
    playlist("Mine.spp", 1);   // renamed last: opening it replaces the rows
    playlist("default.spp", 3);
    const QString saveError = "Save Playlist Error|The filename you have entered/selected already exists.\r\n\r\nThis function will not continue.\r\n";
    const QString notPerformed = "\r\n\r\nThis function will not be proformed.\r\n";
    auto saveAs = [](PlaylistNamesTest& t, const QString& typed) { t.answerFile(t.home("Playlists/" + typed + ".spp")); };
    const Command commands[] = {
        {"Save As",
         [saveAs](PlaylistNamesTest& t, const QString& typed) {
             saveAs(t, typed);
             t.main().tmrWindowUpdate_Timer();
             clickInMenu(t.main().mnuFile, t.main().mnuSavePlaylistAs);
         },
         saveError, "Overwrite Existing File Confirmation"},
        {"library Save As",
         [saveAs](PlaylistNamesTest& t, const QString& typed) {
             t.library().results_Add("A", "T", "2000", "00:03", "/m/one.mp3");
             t.library().tmrWindowUpdate_Timer();
             saveAs(t, typed);
             t.library().mnuSaveAs->trigger();
         },
         saveError, "Overwrite Existing File Confirmation"},
        {"Generate",
         [](PlaylistNamesTest& t, const QString& typed) {
             t.inDialog<FrmGeneratePlaylist>(t.main().mnuNewPlaylist, t.main().mnuGeneratePlaylist, [typed](FrmGeneratePlaylist& d) {
                 d.chkOpenPlaylist->setChecked(false);
                 d.txtCriteria->setText(typed);
                 d.cmdCreate_Click();
             });
         },
         "Generating Playlist Error|It has been detected that the playlist you wish to create already exists.\r\n\r\nNo playlist was created.\r\n",
         "Overwrite Existing Playlist Confirmation"},
        {"Random Songs",
         [](PlaylistNamesTest& t, const QString& typed) {
             t.inDialog<FrmRandomSongsPlaylist>(t.main().mnuNewPlaylist, t.main().mnuUseRandomSongsForPlaylist, [typed](FrmRandomSongsPlaylist& d) {
                 d.txtPlaylistName->setText(typed);
                 d.txtSongCount->setText("1");
                 d.cmdCreate_Click();
             });
         },
         "Creating Random Songs Playlist|It has been detected that the playlist name you have entered already exists." + notPerformed, ""},
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
         ""},
    };
    for (const Command& c : commands) {
        for (const QString typed : {"default", "DEFAULT", "jazz"}) {
            SCOPED_TRACE(std::string(c.name) + " " + typed.toStdString());
            const QMap<QString, QByteArray> before = stored();
            ui.clear();
            ui.msgAnswers.assign({MsgResult::No});
            c.run(*this, typed);
            const bool asked = typed == "jazz" && !c.question.isEmpty();
            EXPECT_EQ(asked ? ui.messages().value(0).title : lastBox(), asked ? c.question : c.reserved);
            EXPECT_EQ(stored(), before);   // nothing written, renamed or hidden
        }
        if (c.question.isEmpty()) continue;
        // Yes writes over the stored playlist under its own name: still one Jazz.
        const QByteArray old = readFile(jazz);
        const QStringList names = stored().keys();
        ui.msgAnswers.clear();
        c.run(*this, "jazz");
        EXPECT_EQ(stored().keys(), names) << c.name;
        EXPECT_NE(readFile(jazz), old) << c.name;
    }
    ui.msgAnswers.clear();

    // A playlist may change its own letter case.
    commands[4].run(*this, "MINE");
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Jazz", "MINE"}));
}

TEST_F(PlaylistNamesTest, LibrarySaveAsGivesANameTypedWithoutItsExtensionTheExtension)
{
    library().results_Add("A", "T", "2000", "00:03", "/m/one.mp3");
    library().tmrWindowUpdate_Timer();
    QDir().mkpath(home("Playlists"));
    answerFile(home("Playlists/Folk.Songs"));
    answerFile(home("Playlists/Reggae.SPP"));   // typed: kept as it is
    library().mnuSaveAs->trigger();
    library().mnuSaveAs->trigger();
    EXPECT_EQ(ui.calls.last().fileRequest.defaultExt, "spp");
    EXPECT_EQ(QDir(home("Playlists")).entryList(QDir::Files), QStringList({"Folk.Songs.spp", "Reggae.SPP"}));
    EXPECT_TRUE(box().contains("Folk.Songs"));
}

} // namespace
