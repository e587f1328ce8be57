#include "library/FrmMoveToFolder.h"
#include "library/OrganiseFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

using veltra::MsgResult;

class MoveTest : public OrganiseTest {
protected:
    FrmMoveToFolder& run(int option, const QString& text, const QString& destination)
    {
        FrmMoveToFolder& d = forms().get<FrmMoveToFolder>();
        d.opOptions[size_t(option)]->click();
        d.txtSearch->setText(text);
        d.txtDestination->setText(destination);
        d.cmdMove_Click();
        return d;
    }
    QStringList results()
    {
        QStringList out;
        const ListViewModel& list = forms().get<FrmMoveToFolder>().lstvItems->items();
        for (int r = 1; r <= list.count(); ++r) out.append(list.cells(r).join(u'|'));
        return out;
    }
    static QString fileMessage(const QString& first, const QString& path)
    {
        return first + QStringLiteral("\r\n\r\n") + path + QStringLiteral("\r\n\r\nThis file will not be moved/copied.\r\n");
    }
};

TEST_F(MoveTest, EmptyTextsAndMissingFolders)
{
    const QString song = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Rock"), QStringLiteral("T"));
    addFile(song);
    run(0, QStringLiteral("rock"), QString());
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that you have not entered/selected a destination folder.\r\n\r\n"
                                            "Please enter/select a folder destination folder before continuing.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Move Music To Folder Error"));
    run(0, QString(), home("Out"));
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that you have not entered a search criteria.\r\n\r\n"
                                            "Please enter a search criteria before continuing.\r\n"));

    const QString deep = home("Out/Rock/Best");
    ui.msgAnswers.push_back(MsgResult::No);
    FrmMoveToFolder& d = run(0, QStringLiteral("rock"), deep);
    EXPECT_EQ(lastMessage(), QStringLiteral("The destination folder that you have specified does not exist.\r\n\r\n"
                                            "Do you want to create it?\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Create Destination Folder Confirmation"));
    EXPECT_FALSE(QFile::exists(home("Out")));
    EXPECT_EQ(d.lblMusicMoved->text(), QStringLiteral("Music Moved To Folder:  None"));

    // A file where the folder should be: refused before anything runs.
    writeFile("Out/Rock/Best", "a file");
    d.cmdMove_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("The destination folder that you have specified could not be created.\r\n\r\n"
                                            "This function will not continue.\r\n"));
    EXPECT_TRUE(QFile::exists(song));

    // Yes creates every missing level and the run goes.
    QDir(home("Out")).removeRecursively();
    ui.clear();
    d.cmdMove_Click();
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(QFile::exists(deep + QStringLiteral("/a.mp3")));
    EXPECT_FALSE(QFile::exists(song));
}

// Whole values, letter case ignored; the list and its count grow over the runs.
TEST_F(MoveTest, RunsMatchWholeValuesAndAddUp)
{
    // ID3v2 keeps trailing blanks, so "Rock " stays different from "Rock".
    const char* songs[][5] = {
        {"1.mp3", "Rock", "Plain", "", ""},          {"2.mp3", "ROCK", "Loud", "", ""},
        {"3.mp3", "Rock Band", "Band", "Greatest", ""}, {"4.mp3", "Rock ", "Blank", "", "1999 "},
        {"5.mp3", "Pop", "Year", "", "1999"},
    };
    for (const auto& s : songs)
        addFile(tagged(QStringLiteral("Music/") + QLatin1String(s[0]), QLatin1String(s[1]), QLatin1String(s[2]),
                       QLatin1String(s[3]), QLatin1String(s[4]), false));
    addFile(writeFile("Music/6.wav", "RIFF"));
    QDir().mkpath(home("Out"));
    forms().get<FrmMoveToFolder>().chkSearchID3v2->setChecked(true);
    FrmMoveToFolder& d = run(0, QStringLiteral("rock"), home("Out/"));
    EXPECT_EQ(d.lblMusicMoved->text(), QStringLiteral("Music Moved To Folder:  02"));
    EXPECT_EQ(d.pbBar->value(), 6);
    run(2, QStringLiteral("199"), home("Out"));
    run(1, QStringLiteral("greatest"), home("Out"));
    run(2, QStringLiteral("1999"), home("Out"));
    EXPECT_EQ(results(), QStringList({QStringLiteral("01|Rock|Plain"), QStringLiteral("02|ROCK|Loud"),
                                      QStringLiteral("03|Rock Band|Band"), QStringLiteral("04|Pop|Year")}));
    EXPECT_EQ(d.lblMusicMoved->text(), QStringLiteral("Music Moved To Folder:  04"));
    EXPECT_EQ(QDir(home("Out")).entryList(QDir::Files).size(), 4);
    EXPECT_TRUE(d.opOptions[2]->isChecked() && d.cmdMove->isEnabled() && d.cmdMove->isDefault());
    EXPECT_EQ(d.SearchOption(), 2);
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(MoveTest, MovedFilesAreFollowedAndCanBeShown)
{
    const QString a = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Band"), QStringLiteral("One"));
    const QString c = tagged(QStringLiteral("Music/c.mp3"), QStringLiteral("Other"), QStringLiteral("Three"));
    addFile(a);
    addFile(c);
    remember(a);
    writeFile("Out/older.mp3", QByteArray());
    forms().get<FrmMoveToFolder>().chkShowFiles->setChecked(true);
    forms().get<FrmMoveToFolder>().chkCloseWindow->setChecked(true);
    // What the row held once the run was over, before the playlist was replaced.
    QString rowAfterMove;
    QObject::connect(&rows(), &QAbstractItemModel::modelAboutToBeReset, [&] {
        if (rowAfterMove.isEmpty()) rowAfterMove = fileOfRow(1);
    });
    run(0, QStringLiteral("band"), home("Out"));
    EXPECT_EQ(rowAfterMove, home("Out/a.mp3"));
    EXPECT_EQ(trackedFile(), home("Out/a.mp3"));
    EXPECT_EQ(volumeFile(), home("Out/a.mp3"));
    EXPECT_TRUE(log().contains(a + QStringLiteral(" was moved to ") + home("Out") + QStringLiteral(".\r\n")));
    // The playlist now holds the MP3 files of the folder, tags read.
    ASSERT_EQ(rows().count(), 2);
    EXPECT_EQ(QStringList({fileOfRow(1), fileOfRow(2)}), QStringList({home("Out/a.mp3"), home("Out/older.mp3")}));
    EXPECT_EQ(rows().subItem(1, 1), QStringLiteral("Band"));
    EXPECT_FALSE(forms().isLoaded<FrmMoveToFolder>());
}

// A folder typed relative to the program's working folder: the log keeps the text as
// typed, the row and both lists get the whole path, which stays right after a restart.
TEST_F(MoveTest, ATypedRelativeFolderIsFollowedByItsWholePath)
{
    const QString a = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Band"), QStringLiteral("One"));
    addFile(a);
    remember(a);
    const QString working = QDir::currentPath();
    QDir::setCurrent(home());
    run(0, QStringLiteral("band"), QStringLiteral("Out/"));
    QDir::setCurrent(working);
    EXPECT_EQ(QStringList({fileOfRow(1), trackedFile(), volumeFile()}), QStringList(3, home("Out/a.mp3")));
    EXPECT_TRUE(QFile::exists(home("Out/a.mp3")));
    EXPECT_TRUE(log().contains(a + QStringLiteral(" was moved to Out/.\r\n")));
}

// A song that is a relative link still leads to its audio once moved.
TEST_F(MoveTest, ARelativeLinkIsMovedAsALinkToTheSameSong)
{
    const QString song = tagged(QStringLiteral("Music/real/a.mp3"), QStringLiteral("Band"), QStringLiteral("One"));
    const QString link = home("Music/a.mp3");
    ASSERT_TRUE(QFile::link(QStringLiteral("real/a.mp3"), link));
    addFile(link);
    QDir().mkpath(home("Out/Linked"));
    run(0, QStringLiteral("band"), home("Out/Linked"));
    const QString moved = home("Out/Linked/a.mp3");
    EXPECT_TRUE(QFileInfo(moved).isSymLink());
    EXPECT_EQ(QFileInfo(moved).canonicalFilePath(), QFileInfo(song).canonicalFilePath());
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileOfRow(1), moved);
    EXPECT_TRUE(log().contains(link + QStringLiteral(" was moved to ")));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(MoveTest, NothingIsReplacedAndFailuresAreReported)
{
    const QString a = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Band"), QStringLiteral("One"));
    const QString b = tagged(QStringLiteral("Music/b.mp3"), QStringLiteral("Band"), QStringLiteral("Two"));
    const QString playing = tagged(QStringLiteral("Music/p.mp3"), QStringLiteral("Band"), QStringLiteral("Playing"));
    for (const QString& p : {a, b, playing}) addFile(p);
    player().setFileName(playing);
    const QString taken = writeFile("Out/b.mp3", "somebody else's song");
    forms().get<FrmMoveToFolder>().chkCopyFiles->setChecked(true);
    run(0, QStringLiteral("Band"), home("Out"));
    const auto m = ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].text, fileMessage(QStringLiteral("It has been detected that a file of the same name already exists in the destination folder:"), b));
    EXPECT_EQ(m[1].text, fileMessage(QStringLiteral("It has been detected that the song you are trying to move/copy is being used by VELTRA:"), playing));
    EXPECT_EQ(m[0].title, QStringLiteral("Move Music To Folder Error"));
    EXPECT_EQ(readFile(home("Out/a.mp3")), readFile(a));   // a copy: both there
    EXPECT_EQ(readFile(taken), QByteArray("somebody else's song"));
    EXPECT_EQ(fileOfRow(1), a);
    EXPECT_TRUE(log().contains(a + QStringLiteral(" was copied to ") + home("Out") + QStringLiteral(".\r\n")));
    EXPECT_EQ(results(), QStringList({QStringLiteral("01|Band|One")}));

    // The songs' own folder: each would be moved onto itself.
    ui.clear();
    forms().get<FrmMoveToFolder>().chkCopyFiles->setChecked(false);
    run(0, QStringLiteral("band"), home("Music"));
    EXPECT_EQ(ui.messages().size(), 3);
    EXPECT_TRUE(QFile::exists(a) && QFile::exists(b));

    // A name taken by a dangling link, moving and then copying: the link stays, the file is
    // reported and not listed, and the run goes on.
    player().setFileName(QString());
    QFile::remove(home("Out/a.mp3"));
    QFile::link(home("nowhere.mp3"), home("Out/a.mp3"));
    const QString copiedLine = a + QStringLiteral(" was copied to ");
    const qsizetype copiedBefore = log().count(copiedLine);
    for (const bool copying : {false, true}) {
        SCOPED_TRACE(copying);
        ui.clear();
        forms().get<FrmMoveToFolder>().chkCopyFiles->setChecked(copying);
        const qsizetype listed = results().size();
        run(0, QStringLiteral("band"), home("Out"));
        EXPECT_TRUE(QFileInfo(home("Out/a.mp3")).isSymLink());
        ASSERT_FALSE(ui.messages().isEmpty());
        EXPECT_EQ(ui.messages().first().text, fileMessage(QStringLiteral("It has been detected that a file of the same name already exists in the destination folder:"), a));
        EXPECT_EQ(fileOfRow(1), a);
        EXPECT_EQ(results().size(), listed + (copying ? 0 : 1));   // p.mp3 moves; then it is there already
    }
    EXPECT_EQ(log().count(copiedLine), copiedBefore);
    EXPECT_EQ(fileOfRow(3), home("Out/p.mp3"));
}

// Real input through the menu: a click on "Move »"; the close box, Esc and another click
// during the run do nothing; Esc afterwards closes the dialog.
TEST_F(MoveTest, DrivenThroughTheEventLoop)
{
    BusyUi busy;
    veltra::setUiServices(&busy);
    const QString b = tagged(QStringLiteral("Music/b.mp3"), QStringLiteral("Band"), QStringLiteral("Two"));
    for (const QString& p : {tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Band"), QStringLiteral("One")), b,
                             tagged(QStringLiteral("Music/c.mp3"), QStringLiteral("Band"), QStringLiteral("Three"))})
        addFile(p);
    writeFile("Out/b.mp3", "taken");
    bool stayedDuringRun = false, closedAfter = false;
    busy.modalHandlers.push_back([&](QObject* form) {
        QPointer<FrmMoveToFolder> d = qobject_cast<FrmMoveToFolder*>(form);
        d->show();
        processEvents(20);
        d->txtSearch->setText(QStringLiteral("band"));
        d->txtDestination->setText(home("Out"));
        busy.duringMessage = [&] {
            d->close();
            postKey(d, Qt::Key_Escape);
            postClick(d->cmdMove);
            processEvents(20);
            stayedDuringRun = d->isVisible() && d->Running() && !d->cmdClose->isEnabled();
        };
        postClick(d->cmdMove);
        processEvents(50);
        EXPECT_EQ(d->lblMusicMoved->text(), QStringLiteral("Music Moved To Folder:  02"));
        EXPECT_EQ(d->pbBar->value(), 3);
        postKey(d, Qt::Key_Escape);
        processEvents(20);
        closedAfter = !d || !d->isVisible();
    });
    main().tmrWindowUpdate_Timer();   // the items enabled for the rows
    main().mnuPlaylistMoveMusicToFolder->trigger();
    veltra::setUiServices(&ui);
    EXPECT_TRUE(stayedDuringRun);
    EXPECT_TRUE(closedAfter);
    EXPECT_EQ(busy.messages().size(), 1);   // the taken name, once: no second run
    EXPECT_EQ(QStringList({fileOfRow(1), fileOfRow(2), fileOfRow(3)}), QStringList({home("Out/a.mp3"), b, home("Out/c.mp3")}));
    EXPECT_FALSE(forms().isLoaded<FrmMoveToFolder>());
}

} // namespace
