// Adding songs to the playlist of the started program: Add Files, Add Directory (through its
// menu item in the running event loop, with the wait window and the tag question) and Add
// Location with its history.
#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modAddFiles.h"
#include "common/modFolders.h"
#include "common/modSettings.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMessage.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmAddLocation.h"
#include "startup/Forms.h"
#include "support/MenuClick.h"
#include "mainwindow/FileCommandsFixture.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <optional>

using namespace veltra;

namespace {

// What the wait window showed: "location / text", or "none".
QString waitShown()
{
    if (!forms().isLoaded<FrmMessage>() || !forms().get<FrmMessage>().isVisible()) return QStringLiteral("none");
    const FrmMessage& w = forms().get<FrmMessage>();
    return w.lblLocation->text() + QStringLiteral(" / ") + w.lblText->text();
}

// The recording services, noting what the wait window showed when each question came.
class QuestionWatcher : public RecordingUiServices {
public:
    QStringList waitAtQuestion;
    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override
    {
        // and whether the main window painted itself meanwhile
        waitAtQuestion << waitShown() + (forms().get<FrmMain>().updatesEnabled() ? "" : " (painting held)");
        return RecordingUiServices::msgBox(text, buttons, icon, title);
    }
};

class AddingTest : public FileCommandsTest {
protected:
    // Files of the given names under the program folder (not real audio); returns their paths.
    QStringList make(const QStringList& names)
    {
        QStringList out;
        for (const QString& n : names) out << writeFile(n, "not really audio");
        return out;
    }
};

} // namespace

TEST_F(AddingTest, AddFilesTakesAHundredRefusesMoreAndRemembersOnlyASingleFile)
{
    struct Case {
        int files;
        bool refused;
        bool recent;
    };
    const Case cases[] = {{1, false, true}, {2, false, false}, {100, false, false}, {101, true, false}};
    QString startedIn = directory_StartFolder(QString());   // nothing stored: Music, else home
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        main().mnuNew_Click();
        main().playlist_AddSong("", "", "", home("before.mp3"));   // rows come after the ones there
        settings_WriteValue("RecentMediaFiles", "Filename1", "");
        ui.clear();
        QStringList names;
        for (int i = 1; i <= c.files; ++i) names << QString("in %1/song %2.%3").arg(c.files).arg(i).arg(i == 2 ? "wav" : "mp3");
        const QStringList chosen = make(names);
        ui.fileAnswers.push_back(FileDialogResult{false, chosen, 1});
        main().tbToolbar_ButtonClick("AddFiles");
        ASSERT_EQ(ui.count("open"), 1);
        const FileDialogRequest& request = ui.calls[0].fileRequest;
        EXPECT_EQ(request.title, "Add Files To Playlist...");
        EXPECT_EQ(request.filter, addfiles::filter());
        EXPECT_TRUE(request.multiSelect);
        EXPECT_EQ(request.initialDir, startedIn);
        if (c.refused) {
            ASSERT_EQ(ui.messages().size(), 1);
            EXPECT_EQ(ui.messages()[0].title, "Add Files Error");
            EXPECT_EQ(files(), QStringList{home("before.mp3")});
            continue;
        }
        EXPECT_TRUE(ui.messages().isEmpty());
        EXPECT_EQ(files(), QStringList{home("before.mp3")} + chosen);   // a .wav too
        EXPECT_EQ(rows().text(rows().count()), QString("%1").arg(c.files + 1, 2, 10, QChar('0')));
        EXPECT_EQ(rows().subItem(2, PlaylistColumn::Artist), "[None]");   // tags read as files are added
        EXPECT_TRUE(log().contains(chosen.last() + " added to playlist.\r\n"));
        startedIn = home(QString("in %1").arg(c.files));
        EXPECT_EQ(settings_ReadValue("Settings", "LastDirectoryUsed"), startedIn);
        EXPECT_EQ(settings_ReadValue("RecentMediaFiles", "Filename1"), c.recent ? chosen.first() : QString());
        EXPECT_FALSE(main().StatusBarBusy);
    }
}

TEST_F(AddingTest, AddDirectoryFromItsMenuShowsTheWaitWindowAndAsksAboutTagsOnALongPlaylist)
{
    QuestionWatcher watcher;
    setUiServices(&watcher);
    for (const char* f : {"top/b.mp1", "top/c.mp3", "top/a.mp2", "top/x.wav", "top/y.wma", "top/sub/d.mp3", "top/sub/deeper/e.mp2"})
        writeFile(f, "not really audio");
    const QString top = home("top");
    const QStringList own = {top + "/c.mp3", top + "/a.mp2", top + "/b.mp1"};
    const QStringList all = own + QStringList{top + "/sub/d.mp3", top + "/sub/deeper/e.mp2"};
    QStringList twenty;
    for (int i = 1; i <= 20; ++i) twenty << writeFile(QString("twenty/%1.mp3").arg(i, 2, 10, QChar('0')), "x");
    QStringList seen;   // the wait window as rows arrived, and as their tags were read
    QObject::connect(&rows(), &QAbstractItemModel::rowsInserted, &main(), [&seen] { seen << waitShown(); });
    QObject::connect(&rows(), &QAbstractItemModel::dataChanged, &main(), [&seen] { seen << waitShown(); });

    // Chosen from the File menu in the running program; the command runs from the event loop.
    auto addDirectory = [&](const QString& folder) {
        watcher.folderAnswers.push_back(folder);
        QTimer::singleShot(0, &main(), [this] { clickInMenu(main().mnuFile, main().mnuAddDirectory); });
        processEvents(50);
    };
    struct Case {
        const char* recursive;
        int rowsBefore;
        QString folder;
        QStringList added;
        std::optional<MsgResult> answer;   // the tag question asked, and answered so
        QString lastArtist;
    };
    const Case cases[] = {
        {"1", 0, top, all, std::nullopt, "[None]"},
        {"0", 0, top, own, std::nullopt, "[None]"},
        {"1", 190, home("twenty"), twenty, MsgResult::No, "[None]"},
        {"0", 198, top, own, MsgResult::Yes, "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.recursive) + " " + std::to_string(c.rowsBefore));
        main().mnuNew_Click();
        for (int i = 1; i <= c.rowsBefore; ++i) main().playlist_AddSong("", "", "", home(QString("old%1.mp3").arg(i)));
        if (c.rowsBefore > 0) rows().setSubItem(1, PlaylistColumn::Length, "03:21");
        settings_WriteValue("Settings", "DoRecursiveDirectoryScan", c.recursive);
        watcher.clear();
        watcher.waitAtQuestion.clear();
        seen.clear();
        if (c.answer) watcher.msgAnswers.push_back(*c.answer);
        addDirectory(c.folder);
        if (&c == &cases[0]) {
            EXPECT_EQ(watcher.calls[0].text, directory_StartFolder(QString()));   // nothing stored yet
        }
        EXPECT_EQ(files().mid(c.rowsBefore), c.added);
        EXPECT_EQ(rows().text(1), c.rowsBefore + c.added.size() > 99 ? "001" : "01");
        ASSERT_FALSE(seen.isEmpty());
        const QString from = "Reading from:  " + c.folder + " / ";
        EXPECT_EQ(seen.first(), from + "Adding media files to playlist, please wait...");
        EXPECT_EQ(seen.last(), from + (c.answer == MsgResult::Yes ? "Reading each songs filename, please wait..."
                                                                 : "Reading each songs ID3 Tag, please wait..."));
        ASSERT_EQ(watcher.messages().size(), c.answer ? 1 : 0);
        if (c.answer) {
            EXPECT_EQ(watcher.messages()[0].title, "Use Simple Filenames Confirmation");
            EXPECT_EQ(watcher.messages()[0].text,
                      "Because of number of music files you have added to the playlist, creating a full ID3 based playlist might "
                      "take a few moments.\r\n\r\nWould you like to use the filenames instead for the music?\r\n");
            EXPECT_EQ(watcher.waitAtQuestion, QStringList{"none"});   // the wait window stepped aside, the window paints
        }
        EXPECT_EQ(rows().subItem(rows().count(), PlaylistColumn::Artist), c.lastArtist);
        // File names only are for the rows added: those there before keep what they show.
        if (c.answer == MsgResult::Yes) {
            EXPECT_EQ(rows().subItem(1, PlaylistColumn::Length), "03:21");
        }
        EXPECT_FALSE(forms().isLoaded<FrmMessage>());
        EXPECT_TRUE(main().updatesEnabled());
        EXPECT_EQ(settings_ReadValue("Settings", "DirectoryPath"), c.folder);
    }
    // The next browse starts at the folder chosen last; cancelled, it adds nothing.
    main().mnuNew_Click();
    watcher.clear();
    addDirectory(QString());
    EXPECT_EQ(watcher.calls[0].text, top);
    EXPECT_EQ(rows().count(), 0);
    setUiServices(&ui);
}

TEST_F(AddingTest, AddLocationChecksItsTextAddsTheFolderAndRecordsEachFolderOnce)
{
    for (const char* f : {"loc, one/c.mp3", "loc, one/a.mp2", "loc, one/sub/d.mp3", "empty/readme.txt"}) writeFile(f, "x");
    const QString withComma = home("loc, one");
    const QString log = FrmAddLocation::locationsFile();
    struct Case {
        QString text;
        QString refusal;          // the message's first sentence; empty: added
        QStringList rows;
        QStringList history;      // locations.log afterwards
    };
    const Case cases[] = {
        {"", "It has been detected that you have not entered a location.", {}, {}},
        {"  ", "It has been detected that the location you have entered does not exist.", {}, {}},
        {home("missing"), "It has been detected that the location you have entered does not exist.", {}, {}},
        {home("empty"), "", {}, {home("empty")}},
        {withComma, "", {withComma + "/c.mp3", withComma + "/a.mp2", withComma + "/sub/d.mp3"}, {home("empty"), withComma}},
        {withComma, "", {withComma + "/c.mp3", withComma + "/a.mp2", withComma + "/sub/d.mp3"}, {home("empty"), withComma}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        main().mnuNew_Click();
        ui.clear();
        ui.modalHandlers.push_back([&](QObject* form) {
            auto* dialog = qobject_cast<FrmAddLocation*>(form);
            ASSERT_TRUE(dialog);
            dialog->cmbLocation->setEditText(c.text);
            dialog->cmdAdd->click();
            EXPECT_EQ(dialog->result(), c.refusal.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
        });
        main().mnuAddLocation->trigger();
        ASSERT_EQ(ui.count("modal"), 1);
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(ui.messages().isEmpty());
        } else {
            ASSERT_EQ(ui.messages().size(), 1);
            EXPECT_EQ(ui.messages()[0].title, "Adding Location Error");
            EXPECT_EQ(ui.messages()[0].text, c.refusal + "\r\n\r\nThis function will not be proformed.\r\n");
        }
        EXPECT_EQ(files(), c.rows);
        EXPECT_EQ(QString::fromUtf8(readFile(log)), c.history.isEmpty() ? QString() : c.history.join("\r\n") + "\r\n");
        EXPECT_FALSE(forms().isLoaded<FrmMessage>());
    }
    // The history comes back whole lines, the comma kept, and nothing chosen.
    FrmAddLocation& dialog = forms().fresh<FrmAddLocation>();
    ASSERT_EQ(dialog.cmbLocation->count(), 2);
    EXPECT_EQ(dialog.cmbLocation->itemText(1), withComma);
    EXPECT_EQ(dialog.cmbLocation->currentText(), "");
    // The folder dialog: cancelled changes nothing, a folder chosen fills the box and is kept.
    settings_WriteValue("Settings", "DirectoryPath", home("empty"));
    ui.clear();
    ui.folderAnswers.push_back(std::nullopt);
    ui.folderAnswers.push_back(withComma);
    dialog.cmdBrowse->click();
    EXPECT_EQ(ui.calls[0].text, home("empty"));
    EXPECT_EQ(dialog.cmbLocation->currentText(), "");
    dialog.cmdBrowse->click();
    EXPECT_EQ(dialog.cmbLocation->currentText(), withComma);
    EXPECT_EQ(settings_ReadValue("Settings", "DirectoryPath"), withComma);
    forms().unload<FrmAddLocation>();

    // A history that cannot be written keeps the files added.
    QFile::remove(log);
    QDir().mkpath(log);
    main().mnuNew_Click();
    FrmAddLocation& again = forms().fresh<FrmAddLocation>();
    again.cmbLocation->setEditText(withComma);
    again.cmdAdd_Click();
    EXPECT_EQ(files().size(), 3);
    forms().unload<FrmAddLocation>();

    // The media library's Add Location fills the library's list, every folder below included.
    settings_WriteValue("Settings", "DoRecursiveDirectoryScan", "0");
    main().mnuOpenMediaLibrary->trigger();
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* d = qobject_cast<FrmAddLocation*>(form);
        d->cmbLocation->setEditText(withComma);
        d->cmdAdd->click();
    });
    forms().get<FrmMediaLibrary>().mnuAddLocation->trigger();
    EXPECT_EQ(forms().get<FrmMediaLibrary>().lstvFilenames->count(), 3);
    EXPECT_EQ(files().size(), 3);   // the playlist untouched
}

// A history far longer than anyone picks from opens with its newest folders; a folder of its
// older part is still found there and not written again.
TEST_F(AddingTest, AddLocationOffersTheNewestFoldersOfALongHistoryAndKeepsItWhole)
{
    writeFile("old/a.mp3", "x");
    const int shown = FrmAddLocation::kLocationsShown;
    QByteArray bytes = home("old").toUtf8() + "\r\n";
    for (int i = 2; i <= shown + 2; ++i) bytes += "/music/folder " + QByteArray::number(i) + "\r\n";
    const QString log = writeFile("locations.log", bytes);
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* dialog = qobject_cast<FrmAddLocation*>(form);
        ASSERT_EQ(dialog->cmbLocation->count(), shown);
        EXPECT_EQ(dialog->cmbLocation->itemText(0), "/music/folder 3");
        EXPECT_EQ(dialog->cmbLocation->itemText(shown - 1), QStringLiteral("/music/folder %1").arg(shown + 2));
        dialog->cmbLocation->setEditText(home("old"));
        dialog->cmdAdd->click();
    });
    main().mnuAddLocation->trigger();
    EXPECT_EQ(files(), QStringList{home("old/a.mp3")});
    EXPECT_EQ(readFile(log), bytes);
}
