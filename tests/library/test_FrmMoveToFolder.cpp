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
    FrmMoveToFolder& dialog() { return forms().get<FrmMoveToFolder>(); }
    FrmMoveToFolder& search(int option, const QString& text, const QString& destination)
    {
        FrmMoveToFolder& d = dialog();
        d.opOptions[size_t(option)]->click();
        d.txtSearch->setText(text);
        d.txtDestination->setText(destination);
        return d;
    }
    QStringList results()
    {
        QStringList out;
        const ListViewModel& list = dialog().lstvItems->items();
        for (int r = 1; r <= list.count(); ++r) out.append(list.cells(r).join(u'|'));
        return out;
    }
    // A message of a run about one file.
    static QString fileMessage(const QString& first, const QString& path)
    {
        return first + QStringLiteral("\r\n\r\n") + path + QStringLiteral("\r\n\r\nThis file will not be moved/copied.\r\n");
    }
};

TEST_F(MoveTest, EmptyTextsAndMissingFolders)
{
    const QString song = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Rock"), QStringLiteral("T"));
    addFile(song);
    FrmMoveToFolder& d = search(0, QStringLiteral("rock"), QString());
    d.cmdMove_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that you have not entered/selected a destination folder.\r\n\r\n"
                                            "Please enter/select a folder destination folder before continuing.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Move Music To Folder Error"));
    search(0, QString(), home("Out")).cmdMove_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that you have not entered a search criteria.\r\n\r\n"
                                            "Please enter a search criteria before continuing.\r\n"));

    // No to creating the folder: nothing happens.
    const QString deep = home("Out/Rock/Best");
    search(0, QStringLiteral("rock"), deep);
    ui.clear();
    ui.msgAnswers.push_back(MsgResult::No);
    d.cmdMove_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("The destination folder that you have specified does not exist.\r\n\r\n"
                                            "Do you want to create it?\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Create Destination Folder Confirmation"));
    EXPECT_FALSE(QFile::exists(home("Out")));
    EXPECT_TRUE(QFile::exists(song));
    EXPECT_EQ(d.lblMusicMoved->text(), QStringLiteral("Music Moved To Folder:  None"));

    // A file where the folder should be: refused before anything runs.
    writeFile("Out/Rock/Best", "a file");
    ui.clear();
    d.cmdMove_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("The destination folder that you have specified could not be created.\r\n\r\n"
                                            "This function will not continue.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Move Music To Folder Error"));
    EXPECT_TRUE(QFile::exists(song));
    QFile::remove(deep);

    // Yes creates every missing level and the run goes.
    QDir(home("Out")).removeRecursively();
    ui.clear();
    d.cmdMove_Click();
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(QFile::exists(deep + QStringLiteral("/a.mp3")));
    EXPECT_FALSE(QFile::exists(song));
}

TEST_F(MoveTest, WholeValuesMatchIgnoringCase)
{
    struct Case {
        int option;
        const char* search;
        QStringList moved;   // titles
    };
    const Case cases[] = {
        {0, "rock", {QStringLiteral("Plain"), QStringLiteral("Loud")}},
        {1, "greatest", {QStringLiteral("Band")}},
        {2, "1999", {QStringLiteral("Year")}},
        {2, "199", {}},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search);
        main().mnuNew_Click();
        const QString folder = QStringLiteral("Music%1/").arg(++run);
        // ID3v2 keeps trailing blanks, so "Rock " stays different from "Rock".
        for (const auto& [file, artist, title, album, year] :
             std::initializer_list<std::tuple<const char*, const char*, const char*, const char*, const char*>>{
                 {"1.mp3", "Rock", "Plain", "", ""},
                 {"2.mp3", "ROCK", "Loud", "", ""},
                 {"3.mp3", "Rock Band", "Band", "Greatest", ""},
                 {"4.mp3", "Rock ", "Blank", "", "1999 "},
                 {"5.mp3", "Pop", "Year", "", "1999"},
             })
            addFile(tagged(folder + QLatin1String(file), QLatin1String(artist), QLatin1String(title), QLatin1String(album),
                           QLatin1String(year), false));
        addFile(writeFile(folder + QStringLiteral("6.wav"), "RIFF"));
        FrmMoveToFolder& d = search(c.option, QLatin1String(c.search), home(QStringLiteral("Out%1").arg(run)));
        QDir().mkpath(d.txtDestination->text());
        d.chkSearchID3v2->setChecked(true);
        d.cmdMove_Click();
        QStringList moved;
        for (const QString& r : results()) moved.append(r.section(u'|', 2));
        EXPECT_EQ(moved, c.moved);
        EXPECT_EQ(QDir(d.txtDestination->text()).entryList(QDir::Files).size(), c.moved.size());
        EXPECT_TRUE(ui.messages().isEmpty());
        EXPECT_EQ(d.SearchOption(), c.option);
        EXPECT_TRUE(d.opOptions[size_t(c.option)]->isChecked());
        forms().unload<FrmMoveToFolder>();
    }
}

TEST_F(MoveTest, MovesRepointRowsAndListsAndCountOverRuns)
{
    const QString a = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Band"), QStringLiteral("One"));
    const QString b = tagged(QStringLiteral("Music/b.mp3"), QStringLiteral("Band"), QStringLiteral("Two"));
    const QString c = tagged(QStringLiteral("Music/c.mp3"), QStringLiteral("Other"), QStringLiteral("Three"));
    for (const QString& p : {a, b, c}) addFile(p);
    remember(b);
    QDir().mkpath(home("Out"));
    FrmMoveToFolder& d = search(0, QStringLiteral("band"), home("Out/"));
    d.cmdMove_Click();
    EXPECT_EQ(d.lblMusicMoved->text(), QStringLiteral("Music Moved To Folder:  02"));
    EXPECT_EQ(QStringList({fileOfRow(1), fileOfRow(2), fileOfRow(3)}), QStringList({home("Out/a.mp3"), home("Out/b.mp3"), c}));
    EXPECT_EQ(trackedFile(), home("Out/b.mp3"));
    EXPECT_EQ(volumeFile(), home("Out/b.mp3"));
    EXPECT_TRUE(log().contains(a + QStringLiteral(" was moved to ") + home("Out/") + QStringLiteral(".\r\n")));
    EXPECT_FALSE(d.pbBar->isHidden());
    EXPECT_EQ(d.pbBar->value(), 3);

    search(0, QStringLiteral("other"), home("Out")).cmdMove_Click();
    EXPECT_EQ(d.lblMusicMoved->text(), QStringLiteral("Music Moved To Folder:  03"));
    EXPECT_EQ(results(), QStringList({QStringLiteral("01|Band|One"), QStringLiteral("02|Band|Two"), QStringLiteral("03|Other|Three")}));
    EXPECT_TRUE(d.cmdMove->isEnabled() && d.cmdMove->isDefault() && d.txtSearch->isEnabled());
    EXPECT_TRUE(ui.messages().isEmpty());

    // The playlist replaced by the MP3 files of the folder.
    writeFile("Out/older.mp3", QByteArray());
    d.chkShowFiles->setChecked(true);
    d.chkCloseWindow->setChecked(true);
    search(0, QStringLiteral("nobody"), home("Out")).cmdMove_Click();
    EXPECT_EQ(rows().count(), 4);
    EXPECT_EQ(fileOfRow(4), home("Out/older.mp3"));
    EXPECT_EQ(rows().subItem(2, 1), QStringLiteral("Band"));
    EXPECT_FALSE(forms().isLoaded<FrmMoveToFolder>());
}

TEST_F(MoveTest, CopiesKeepTheSourcesAndTakenNamesAreReported)
{
    const QString a = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Band"), QStringLiteral("One"));
    const QString b = tagged(QStringLiteral("Music/b.mp3"), QStringLiteral("Band"), QStringLiteral("Two"));
    const QString playing = tagged(QStringLiteral("Music/p.mp3"), QStringLiteral("Band"), QStringLiteral("Playing"));
    const QString gone = tagged(QStringLiteral("Music/gone.mp3"), QStringLiteral("Band"), QStringLiteral("Gone"));
    for (const QString& p : {a, b, playing, gone}) addFile(p);
    QFile::remove(gone);
    player().setFileName(playing);
    const QString taken = writeFile("Out/b.mp3", "somebody else's song");
    FrmMoveToFolder& d = search(0, QStringLiteral("Band"), home("Out"));
    d.chkCopyFiles->setChecked(true);
    d.cmdMove_Click();

    const auto m = ui.messages();
    // A missing file has no tags to match (it is passed over without a word).
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].text, fileMessage(QStringLiteral("It has been detected that a file of the same name already exists in the destination folder:"), b));
    EXPECT_EQ(m[1].text, fileMessage(QStringLiteral("It has been detected that the song you are trying to move/copy is being used by VELTRA:"), playing));
    for (const auto& msg : m) EXPECT_EQ(msg.title, QStringLiteral("Move Music To Folder Error"));
    EXPECT_EQ(readFile(home("Out/a.mp3")), readFile(a));
    EXPECT_EQ(readFile(taken), QByteArray("somebody else's song"));
    EXPECT_TRUE(QFile::exists(b));
    EXPECT_EQ(fileOfRow(1), a);   // a copy leaves the row alone
    EXPECT_TRUE(log().contains(a + QStringLiteral(" was copied to ") + home("Out") + QStringLiteral(".\r\n")));
    EXPECT_FALSE(log().contains(b + QStringLiteral(" was")));
    EXPECT_EQ(results(), QStringList({QStringLiteral("01|Band|One")}));

    // Moving into the songs' own folder is moving onto themselves.
    ui.clear();
    d.chkCopyFiles->setChecked(false);
    search(0, QStringLiteral("band"), home("Music")).cmdMove_Click();
    EXPECT_EQ(ui.messages().size(), 3);
    EXPECT_TRUE(QFile::exists(a) && QFile::exists(b));

    // A name taken by a dangling link: the move routine refuses and says so; nothing is listed.
    player().setFileName(QString());
    QFile::remove(home("Out/a.mp3"));
    QFile::link(home("nowhere.mp3"), home("Out/a.mp3"));
    ui.clear();
    search(0, QStringLiteral("band"), home("Out")).cmdMove_Click();
    EXPECT_TRUE(QFileInfo(home("Out/a.mp3")).isSymLink());
    EXPECT_TRUE(QFile::exists(a));
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Error Moving File"));
    EXPECT_FALSE(log().contains(a + QStringLiteral(" was moved")));
    EXPECT_EQ(fileOfRow(1), a);
    EXPECT_EQ(fileOfRow(3), home("Out/p.mp3"));   // the run went on
}

// Real input through the menu: a click on "Move »", the close box and Esc during the run
// (they do nothing), then Esc after it closes the dialog.
class BusyUi : public veltra::RecordingUiServices {
public:
    std::function<void()> duringMessage;
    veltra::MsgResult msgBox(const QString& text, veltra::MsgButtons buttons, veltra::MsgIcon icon, const QString& title) override
    {
        if (duringMessage) duringMessage();   // a real box runs the queued events meanwhile
        return RecordingUiServices::msgBox(text, buttons, icon, title);
    }
};

TEST_F(MoveTest, DrivenThroughTheEventLoop)
{
    BusyUi busy;
    veltra::setUiServices(&busy);
    const QString a = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("Band"), QStringLiteral("One"));
    const QString b = tagged(QStringLiteral("Music/b.mp3"), QStringLiteral("Band"), QStringLiteral("Two"));
    const QString c = tagged(QStringLiteral("Music/c.mp3"), QStringLiteral("Band"), QStringLiteral("Three"));
    for (const QString& p : {a, b, c}) addFile(p);
    writeFile("Out/b.mp3", "taken");
    bool stayedDuringRun = false, closedAfter = false;
    QString label;
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
        label = d->lblMusicMoved->text();
        EXPECT_EQ(d->pbBar->value(), 3);
        EXPECT_FALSE(d->Running());
        postKey(d, Qt::Key_Escape);
        processEvents(20);
        closedAfter = !d || !d->isVisible();
    });
    main().tmrWindowUpdate_Timer();   // the items enabled for the rows
    main().mnuPlaylistMoveMusicToFolder->trigger();
    EXPECT_TRUE(stayedDuringRun);
    EXPECT_TRUE(closedAfter);
    EXPECT_EQ(label, QStringLiteral("Music Moved To Folder:  02"));
    EXPECT_EQ(busy.messages().size(), 1);   // the taken name, once: no second run
    EXPECT_EQ(QStringList({fileOfRow(1), fileOfRow(2), fileOfRow(3)}), QStringList({home("Out/a.mp3"), b, home("Out/c.mp3")}));
    processEvents();
    EXPECT_FALSE(forms().isLoaded<FrmMoveToFolder>());
    veltra::setUiServices(&ui);
}

TEST_F(MoveTest, OpenerRefusesWhileMusicPlays)
{
    addFile(tagged(QStringLiteral("M/a.mp3"), QStringLiteral("A"), QStringLiteral("T")));
    controls_SelectItem(rows(), 1);
    main().player_Play(1);
    main().mnuPlaylistMoveMusicToFolder_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("You cannot use this option while VELTRA is playing music.\r\n\r\n"
                                            "This function will not continue.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Move Music To Folder Error"));
    player().Stop();
    main().mnuPlaylistMoveMusicToFolder_Click();
    EXPECT_EQ(ui.count(QStringLiteral("modal")), 1);
}

} // namespace
