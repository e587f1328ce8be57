// Moods: the Edit Moods and Add Mood dialogs, the stored list of names, the song files and
// the library's send-to menu; the main window's and the pop-up menus' mood items.
#include "../controls/ControlTestSupport.h"
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/modMoodFiles.h"
#include "common/modSettings.h"
#include "library/FrmAddMood.h"
#include "library/FrmEditMoods.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMenus.h"
#include "media/modMedia.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using veltra::MsgResult;

namespace {

class MoodsTest : public StartupFixture {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        writeFile("settings.ini", "[Advanced]\r\nMoods=Happy|Sad\r\n");
        happy = writeFile("Moods/happy.mlst", "/m/one.mp3\r\n/m/two.mp3\r\n");
        start();
        forms().get<FrmConsole>().LoggingEnabled = true;
    }
    FrmEditMoods& editor() { return forms().fresh<FrmEditMoods>(); }
    QStringList rows(FrmEditMoods& d)
    {
        QStringList out;
        for (int r = 1; r <= d.lstvItems->items().count(); ++r)
            out << d.lstvItems->items().text(r) + "=" + d.lstvItems->items().cell(r, 1);
        return out;
    }
    static void key(QWidget* w, int k, Qt::KeyboardModifiers mods)
    {
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QCoreApplication::sendEvent(w, &press);
    }
    // Add Mood opened from the editor, the name typed and "&Add »" clicked.
    void addMood(FrmEditMoods& d, const QString& typed)
    {
        ui.modalHandlers.push_back([typed](QObject* form) {
            auto* add = qobject_cast<FrmAddMood*>(form);
            ASSERT_NE(add, nullptr);
            add->txtName->setText(typed);
            add->cmdAdd->click();
        });
        d.mnuAdd->trigger();
    }
    QStringList moodFiles() { return QDir(home("Moods")).entryList(QDir::Files, QDir::Name); }

    QString happy;
};

TEST_F(MoodsTest, EditMoodsListsEveryMoodWithItsSongCount)
{
    FrmEditMoods& d = editor();
    EXPECT_EQ(rows(d), QStringList({"Happy=2", "Sad=0"}));
    EXPECT_EQ(d.lstvItems->items().selectedItem(), 1);
    EXPECT_EQ(d.mnuMoveUpOne->text(), "Move:  &Up One...\tAlt+Up");
    EXPECT_TRUE(d.cmdSave->isDefault());
    EXPECT_FALSE(d.cmdBack->isEnabled());
}

TEST_F(MoodsTest, AddMoodProperCasesTheNameRefusesOthersAndMakesNoFile)
{
    struct Case {
        QString typed;
        QString row;        // the row added; empty: refused
        QString refusal;    // the first sentence of the refusal
    };
    const QString unsupported = "It has been detected that you have entered a character that is not supported.";
    const Case cases[] = {
        {"", "", "It has been detected that you have not entered a new mood name."},
        {"Rock|Pop", "", unsupported},
        {"AC/DC", "", unsupported},
        {"back\\slash", "", unsupported},
        {"..", "", unsupported},
        {"tab\there", "", unsupported},
        {"rainy day", "Rainy Day=0", ""},
        {"ROCK", "Rock=0", ""},
        {"hAPPY", "Happy=2", ""},   // the same file as Happy: its songs are counted
    };
    FrmEditMoods& d = editor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui.clear();
        const int before = d.lstvItems->items().count();
        addMood(d, c.typed);
        if (c.row.isEmpty()) {
            ASSERT_EQ(ui.messages().size(), 1);
            EXPECT_EQ(ui.messages()[0].title, "Adding Mood Error");
            EXPECT_EQ(ui.messages()[0].text, c.refusal + "\r\n\r\nThis function will not be proformed.\r\n");
            EXPECT_EQ(d.lstvItems->items().count(), before);
        } else {
            EXPECT_TRUE(ui.messages().isEmpty());
            EXPECT_EQ(rows(d).last(), c.row);
        }
        EXPECT_FALSE(forms().isLoaded<FrmAddMood>());
    }
    EXPECT_EQ(moodFiles(), QStringList({"happy.mlst"}));
    EXPECT_EQ(MoodList, "Happy|Sad");   // nothing is kept before Save
}

TEST_F(MoodsTest, SaveStoresTheOrderAndRebuildsEveryMoodMenuWithoutTouchingFiles)
{
    main().mnuOpenMediaLibrary->trigger();
    FrmMediaLibrary& lib = forms().get<FrmMediaLibrary>();
    FrmEditMoods& d = editor();
    addMood(d, "rainy day");
    d.lstvItems->items().selectOnly(1);
    d.tmrWindowUpdate_Timer();
    d.mnuMoveDownOne_Click();
    EXPECT_EQ(d.lstvItems->items().selectedItem(), 2);   // the moved mood stays chosen
    const QByteArray songs = readFile(happy);
    d.cmdSave->click();

    const QString saved = "Sad|Happy|Rainy Day";
    EXPECT_EQ(MoodList, saved);
    EXPECT_EQ(settings_ReadValue("Advanced", "Moods"), saved);
    EXPECT_EQ(readFile(happy), songs);
    EXPECT_EQ(moodFiles(), QStringList({"happy.mlst"}));
    EXPECT_EQ(main().mnuMoodOpen->at(2)->text(), "Happy");
    EXPECT_TRUE(main().mnuMoodOpen->at(2)->isEnabled());
    EXPECT_FALSE(main().mnuMoodOpen->at(3)->isEnabled());   // no songs yet
    EXPECT_EQ(forms().get<FrmMenus>().mnuSendToMood->at(3)->text(), "Rainy Day");
    EXPECT_EQ(lib.mnuSendToOp->ubound(), 3);
    EXPECT_EQ(lib.mnuSendToOp->at(1)->text(), "Sad");
    EXPECT_EQ(lib.tvOptions->topLevelItem(2)->child(2)->text(0), "Rainy Day");

    // an empty list is refused and nothing changes
    FrmEditMoods& empty = editor();
    while (empty.lstvItems->items().count() > 0) {
        empty.lstvItems->items().selectOnly(1);
        empty.lstvItems->items().remove(1);
    }
    ui.clear();
    empty.cmdSave_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Saving Moods Error");
    EXPECT_EQ(MoodList, saved);
}

TEST_F(MoodsTest, RemoveAsksOnlyForAMoodWithSongsAndResetReloadsWhateverTheAnswer)
{
    FrmEditMoods& d = editor();
    d.lstvItems->items().selectOnly(2);
    d.mnuRemove_Click();   // Sad has no file: gone without a question
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(rows(d), QStringList({"Happy=2"}));
    ui.msgAnswers = {MsgResult::No};
    d.mnuRemove_Click();
    EXPECT_EQ(ui.messages().last().title, "Remove Mood Confirmation");
    EXPECT_EQ(rows(d), QStringList({"Happy=2"}));
    EXPECT_TRUE(QFile::exists(happy));

    // Reset answered No: the unsaved removal is dropped, nothing deleted
    ui.msgAnswers = {MsgResult::No};
    d.mnuReset_Click();
    EXPECT_EQ(ui.messages().last().title, "Reset Moods Confirmation");
    EXPECT_EQ(rows(d), QStringList({"Happy=2", "Sad=0"}));
    EXPECT_TRUE(QFile::exists(happy));
    ui.msgAnswers = {MsgResult::Yes};
    d.mnuReset_Click();
    EXPECT_EQ(rows(d), QStringList({"Happy=0", "Sad=0"}));
    EXPECT_FALSE(QFile::exists(happy));
}

TEST_F(MoodsTest, MenuStateFollowsTheRowsAndTheSelection)
{
    struct Case {
        int rows;
        int selected;
        bool reset, remove, up, down;
    };
    const Case cases[] = {
        {0, 0, false, false, false, false}, {1, 1, true, true, false, false}, {3, 1, true, true, false, true},
        {3, 3, true, true, true, false},    {3, 2, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1 rows, row %2 selected").arg(c.rows).arg(c.selected).toStdString());
        FrmEditMoods& d = editor();
        d.lstvItems->items().clear();
        for (int i = 1; i <= c.rows; ++i) d.window_AddMood("M" + QString::number(i), "0");
        if (c.selected) d.lstvItems->items().selectOnly(c.selected);
        d.tmrWindowUpdate_Timer();
        EXPECT_EQ(d.mnuReset->isEnabled(), c.reset);
        EXPECT_EQ(d.mnuRemove->isEnabled(), c.remove);
        EXPECT_EQ(d.mnuMoveUpOne->isEnabled(), c.up);
        EXPECT_EQ(d.mnuMoveDownOne->isEnabled(), c.down);
    }
}

TEST_F(MoodsTest, KeysRunTheirCommandsWhileTheyAreEnabled)
{
    FrmEditMoods& d = editor();
    d.lstvItems->items().remove(2);
    d.tmrWindowUpdate_Timer();
    d.lstvItems->setFocus();
    key(d.lstvItems, Qt::Key_Down, Qt::AltModifier);   // one row: no move, nothing happens
    key(d.lstvItems, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(rows(d), QStringList({"Happy=2"}));
    ui.modalHandlers.push_back(nullptr);
    key(d.lstvItems, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(ui.calls.last().title, "FrmAddMood");
    ui.msgAnswers = {MsgResult::Yes};
    key(d.lstvItems, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(d.lstvItems->items().count(), 0);
    EXPECT_FALSE(QFile::exists(happy));
}

// Through the running program: the main window's item opens the editor, which runs modally
// while a real key moves a mood and a real click saves.
TEST_F(MoodsTest, MainWindowItemOpensTheEditorAndRealKeysAndClicksSave)
{
    bool ran = false;
    ui.modalHandlers.push_back([&ran](QObject* form) {
        auto* d = qobject_cast<FrmEditMoods*>(form);
        ASSERT_NE(d, nullptr);
        QTimer::singleShot(0, d, [d] {
            d->lstvItems->setFocus();
            key(d->lstvItems, Qt::Key_Down, Qt::AltModifier);
            controltest::click(d->cmdSave, d->cmdSave->rect().center());
        });
        QTimer::singleShot(5000, d, [d] { d->done(QDialog::Rejected); });   // never hangs the suite
        ran = d->exec() == QDialog::Accepted;
    });
    main().mnuEditMoods->trigger();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(forms().isLoaded<FrmEditMoods>());
    EXPECT_EQ(settings_ReadValue("Advanced", "Moods"), "Sad|Happy");
    EXPECT_EQ(main().mnuMoodOpen->at(1)->text(), "Sad");

    // the pop-up menu's item opens it too; the main window's Reset answered No keeps the files
    forms().get<FrmMenus>().mnuEditMoods->trigger();
    EXPECT_EQ(ui.calls.last().title, "FrmEditMoods");
    ui.msgAnswers = {MsgResult::No};
    main().mnuResetMoods->trigger();
    EXPECT_TRUE(QFile::exists(happy));
    EXPECT_TRUE(main().mnuMoodOpen->at(2)->isEnabled());
}

// The library's Send To: a song already in the mood, compared by whole lines, is not added
// again; another is appended as one line and enables the main window's mood item.
TEST_F(MoodsTest, LibrarySendsTheSelectedSongToAMoodOnce)
{
    const QString comma = home("music/Hello, Goodbye.mp3");
    writeFile("Moods/Sad.mlst", (comma + "\r\n/m/last line without an end").toUtf8());
    main().mnuOpenMediaLibrary->trigger();
    FrmMediaLibrary& lib = forms().get<FrmMediaLibrary>();
    lib.mnuSendToOp->at(2)->trigger();   // nothing chosen: nothing happens
    EXPECT_TRUE(ui.messages().isEmpty());

    lib.results_Add("A", "T", "", "00:01", comma);
    lib.results_Add("A", "T", "", "00:01", "/m/new.mp3");
    lib.results().selectOnly(1);
    const QByteArray before = readFile(home("Moods/Sad.mlst"));
    // a right click on the row opens the Selected menu as the results' pop-up
    controltest::click(lib.lstvResults->viewport(), QPoint(5, 5), Qt::RightButton);
    EXPECT_TRUE(lib.mnuSelected->isVisible());
    lib.mnuSelected->hide();
    lib.mnuSendToOp->at(2)->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Song/Video Already In Mood");
    EXPECT_EQ(ui.messages()[0].icon, int(veltra::MsgIcon::Information));
    EXPECT_EQ(readFile(home("Moods/Sad.mlst")), before);

    lib.results().selectOnly(2);
    lib.mnuSendToOp->at(2)->trigger();
    EXPECT_EQ(readFile(home("Moods/Sad.mlst")), before + "\r\n/m/new.mp3\r\n");
    EXPECT_TRUE(forms().get<FrmConsole>().Text().contains("/m/new.mp3 added to 'Sad' Mood."));
    // a mood without a file gets one with its first song, and its main-window item wakes
    QFile::remove(happy);
    main().window_UpdateMoods();
    EXPECT_FALSE(main().mnuMoodOpen->at(1)->isEnabled());
    lib.mnuSendToOp->at(1)->trigger();
    EXPECT_EQ(readFile(home("Moods/Happy.mlst")), "/m/new.mp3\r\n");
    EXPECT_TRUE(main().mnuMoodOpen->at(1)->isEnabled());
}

} // namespace
