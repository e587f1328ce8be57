#include "library/FrmEditTag.h"
#include "library/FrmRename.h"
#include "library/OrganiseFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

using veltra::MsgResult;

class RenameTest : public OrganiseTest {
protected:
    FrmRename& dialog() { return forms().get<FrmRename>(); }
    // The dialog opened on the file of a new row.
    FrmRename& openOn(const QString& path)
    {
        const int row = addFile(path);
        dialog().Get_Filename(path, row);
        return dialog();
    }
};

TEST_F(RenameTest, EachRefusalShowsItsMessageAndChangesNothing)
{
    const QString unsupported = QStringLiteral("It has been detected that you have entered a character that is not supported.\r\n\r\n"
                                      "You cannot use any of the following characters:\r\n\\ / : * ? \" < > |");
    const QString renameFailed = QStringLiteral("An error has occur while trying to rename the songs filename.  Make sure that the file is not in use.");
    const std::pair<std::function<void(FrmRename&, const QString&)>, QString> cases[] = {
        {[](FrmRename& d, const QString&) { d.txtNewFilename->clear(); },
         QStringLiteral("It has been detected that you have not entered a new filename.")},
        {[](FrmRename& d, const QString&) { d.txtFilename->setText(QStringLiteral("gone.mp3")); },
         QStringLiteral("It has been detected that the filename you are trying to rename does not exist.")},
        {[this](FrmRename&, const QString& p) { player().setFileName(p); },
         QStringLiteral("It has been detected that the song you are trying to rename is being used by VELTRA.")},
        {[](FrmRename& d, const QString&) { d.txtNewFilename->setText(QStringLiteral("Rock/Pop.mp3")); }, unsupported},
        {[](FrmRename& d, const QString&) { d.txtNewFilename->setText(QStringLiteral("a\nb.mp3")); }, unsupported},
        {[this](FrmRename& d, const QString&) {
             writeFile("Music/taken.mp3", "another song");
             d.txtNewFilename->setText(QStringLiteral("taken.mp3"));
         },
         renameFailed},
        {[](FrmRename& d, const QString&) { d.txtNewFilename->setText(QString(256, u'n') + QStringLiteral(".mp3")); }, renameFailed},
    };
    for (const auto& [arrange, first] : cases) {
        SCOPED_TRACE(first.toStdString());
        const QString path = tagged(QStringLiteral("Music/song.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
        const QByteArray bytes = readFile(path);
        FrmRename& d = openOn(path);
        d.txtNewFilename->setText(QStringLiteral("new name.mp3"));
        arrange(d, path);
        ui.clear();
        d.cmdUpdate_Click();
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(lastMessage(), first + QStringLiteral("\r\n\r\nThis function will not be proformed.\r\n"));
        EXPECT_EQ(lastTitle(), QStringLiteral("Renaming Song Filename Error"));
        EXPECT_EQ(ui.messages().back().icon, int(veltra::MsgIcon::Exclamation));
        EXPECT_EQ(readFile(path), bytes);
        EXPECT_FALSE(QFile::exists(home("Music/new name.mp3")));
        EXPECT_EQ(fileOfRow(rows().count()), path);
        EXPECT_TRUE(forms().isLoaded<FrmRename>());   // the dialog stays open
        if (QFile::exists(home("Music/taken.mp3"))) {
            EXPECT_EQ(readFile(home("Music/taken.mp3")), QByteArray("another song"));
        }
        forms().unload<FrmRename>();
        player().setFileName(QString());
        QFile::remove(home("Music/taken.mp3"));
    }
    EXPECT_FALSE(log().contains(QStringLiteral("was renamed")));
}

TEST_F(RenameTest, ReadOnlyFileAsksFirst)
{
    const QString path = tagged(QStringLiteral("Music/ro.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
    FrmRename& d = openOn(path);
    d.txtNewFilename->setText(QStringLiteral("new.mp3"));
    ui.msgAnswers.push_back(MsgResult::No);
    d.cmdUpdate_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that the song you are trying to rename is Read-Only.\r\n\r\n"
                                            "Do you wish to continue?\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Renaming Song Filename Confirmation"));
    EXPECT_EQ(ui.messages().back().buttons, int(veltra::MsgButtons::YesNo));
    EXPECT_TRUE(QFile::exists(path));
    ui.msgAnswers.push_back(MsgResult::Yes);
    d.cmdUpdate_Click();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(home("Music/new.mp3")));
}

TEST_F(RenameTest, NameBuiltFromTheTags)
{
    const QString v2only = tagged(QStringLiteral("Music/x.MP3"), QStringLiteral("Band"), QStringLiteral("Song"),
                                  QStringLiteral("LP"), QString(), false);
    for (int r = 1; r < 7; ++r) addFile(v2only);
    FrmRename& d = openOn(v2only);   // row 7
    ASSERT_EQ(d.Row(), 7);
    EXPECT_EQ(d.txtDirectory->text(), home("Music/"));
    EXPECT_EQ(d.txtFilename->text(), QStringLiteral("x.MP3"));
    d.txtNewFilename->setText(QStringLiteral("typed.mp3"));
    d.cmdUseID3_Click();   // no ID3v1 tag: no artist to build from, and the name stays
    EXPECT_EQ(d.txtNewFilename->text(), QStringLiteral("typed.mp3"));
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that the song's ID3v1 tag has no Artist, which the chosen "
                                            "filename uses.\r\n\r\nThis function will not be proformed.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Getting ID3 Information Error"));
    d.chkUseID3v2->setChecked(true);
    d.chkMaintain->setChecked(true);
    d.cmdUseID3_Click();
    EXPECT_EQ(d.txtNewFilename->text(), QStringLiteral("07 - Band - Song.mp3"));
    d.cmbFilename->setCurrentIndex(5);
    d.cmdUseID3_Click();
    EXPECT_EQ(d.txtNewFilename->text(), QStringLiteral("07 - LP - Band - Song.mp3"));
    EXPECT_EQ(d.lblAlbum->text(), QStringLiteral("LP"));

    d.txtFilename->setText(QStringLiteral("gone.mp3"));
    d.cmdUseID3_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that the filename you are trying to get the ID3 information "
                                            "from does not exist.\r\n\r\nThis function will not be proformed.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Getting ID3 Information Error"));

    // Other files have no tags to build from; a typed name still works.
    const QString wav = writeFile("Music/take.wav", "RIFF");
    d.Get_Filename(wav, addFile(wav));
    for (QWidget* w : std::initializer_list<QWidget*>{d.cmdUseID3, d.cmbFilename, d.chkUseID3v2, d.chkMaintain}) EXPECT_FALSE(w->isEnabled());
    d.txtNewFilename->setText(QStringLiteral("Take 2.wav"));
    d.cmdUpdate_Click();
    EXPECT_TRUE(QFile::exists(home("Music/Take 2.wav")));
}

TEST_F(RenameTest, SuccessUpdatesTheListsLogsThenRepointsTheRow)
{
    for (const bool named : {false, true}) {
        for (const bool save : {false, true}) {
            SCOPED_TRACE(QStringLiteral("named %1 save %2").arg(named).arg(save).toStdString());
            main().mnuNew_Click();
            const QString path = tagged(QStringLiteral("Music/old.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
            const QString renamed = home("Music/Band - Song.mp3");
            QFile::remove(renamed);
            forms().get<FrmTracking>().lstvItems->items().clear();
            forms().get<FrmAdjustVolumes>().lstvItems->items().clear();
            remember(path);
            if (named) namePlaylist(QStringLiteral("Mine"));
            const QString playlistFile = home("Playlists/Mine.spp");
            QFile::remove(playlistFile);
            FrmRename& d = openOn(path);
            d.chkSaveChanges->setChecked(save);
            d.txtNewFilename->setText(QStringLiteral("Band - Song.mp3"));
            // What the other lists and the log held when the row changed.
            QStringList seen;
            auto watch = QObject::connect(&rows(), &QAbstractItemModel::dataChanged, [&] {
                seen = {trackedFile(), volumeFile(), QString::number(log().contains(path + QStringLiteral(" was renamed to ")))};
            });
            const QByteArray bytes = readFile(path);
            d.cmdUpdate_Click();
            QObject::disconnect(watch);
            EXPECT_EQ(readFile(renamed), bytes);
            EXPECT_FALSE(QFile::exists(path));
            EXPECT_EQ(fileOfRow(1), renamed);
            EXPECT_EQ(seen, QStringList({renamed, renamed, QStringLiteral("1")}));
            EXPECT_TRUE(log().contains(QStringLiteral("Filename ") + path + QStringLiteral(" was renamed to ") + renamed + u'.'));
            EXPECT_TRUE(ui.messages().isEmpty());
            EXPECT_FALSE(forms().isLoaded<FrmRename>());
            EXPECT_EQ(QFile::exists(playlistFile), named && save);
            if (named && save) {
                EXPECT_TRUE(readFile(playlistFile).contains(QFile::encodeName(renamed)));
            }
            processEvents();
        }
    }
}

TEST_F(RenameTest, TheNameTheFileHasAlreadyClosesWithoutAMessage)
{
    const QString path = tagged(QStringLiteral("Music/Band - Song.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    FrmRename& d = openOn(path);
    d.cmdUseID3_Click();
    d.cmdUpdate_Click();
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_FALSE(forms().isLoaded<FrmRename>());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(log().contains(QStringLiteral(" renamed")));
}

TEST_F(RenameTest, OpenerRefusesThenOpensTheDialog)
{
    const QString a = tagged(QStringLiteral("Music/a.mp3"), QStringLiteral("A"), QStringLiteral("T"));
    const QString b = tagged(QStringLiteral("Music/b.mp3"), QStringLiteral("B"), QStringLiteral("T"));
    addFile(a);
    addFile(b);
    rows().setSelected(1, true);
    rows().setSelected(2, true);
    main().mnuSelectedRenameFilename_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("You have selected more than 1 song from the playlist.\r\nThis function will not continue.\r\n\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Rename Filename Error"));
    controls_SelectItem(rows(), 2);
    player().setFileName(b);
    main().mnuSelectedRenameFilename_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("The filename that you have selected from the list is being used by VELTRA.\r\n\r\n"
                                            "This function will not continue.\r\n"));
    player().setFileName(QString());
    QFile::remove(b);
    main().mnuSelectedRenameFilename_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("The filename that you have selected from the list does not exist.\r\n\r\n"
                                            "This function will not continue.\r\n"));
    EXPECT_EQ(ui.count(QStringLiteral("modal")), 0);

    controls_SelectItem(rows(), 1);
    QString shownWith;
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* d = qobject_cast<FrmRename*>(form);
        ASSERT_NE(d, nullptr);
        shownWith = d->txtDirectory->text() + d->txtFilename->text() + u' ' + QString::number(d->Row());
    });
    main().mnuSelectedRenameFilename_Click();
    EXPECT_EQ(shownWith, a + QStringLiteral(" 1"));
    EXPECT_FALSE(forms().isLoaded<FrmRename>());   // discarded once closed
}

// A row before the edited one leaves while the dialog is open (the song ends and the next
// row, marked "Remove", leaves as it starts): each editor still writes to its own row.
TEST_F(RenameTest, EditorsKeepToTheirRowWhenAnEarlierRowLeaves)
{
    const struct {
        const char* name;
        QAction* FrmMain::*item;
        std::function<void(QObject*)> edit;
        int column;
        QString expected;
    } cases[] = {
        {"Rename Filename", &FrmMain::mnuSelectedRenameFilename,
         [](QObject* d) {
             qobject_cast<FrmRename*>(d)->txtNewFilename->setText(QStringLiteral("renamed.mp3"));
             qobject_cast<FrmRename*>(d)->cmdUpdate_Click();
         },
         PlaylistColumn::Filename, home("Music/renamed.mp3")},
        {"Properties", &FrmMain::mnuProperties,
         [](QObject* d) {
             qobject_cast<FrmEditTag*>(d)->txtArtist[0]->setText(QStringLiteral("Edited"));
             qobject_cast<FrmEditTag*>(d)->cmdUpdate_Click();
         },
         PlaylistColumn::Artist, QStringLiteral("Edited")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main().mnuNew_Click();
        for (const char* name : {"a", "b", "c", "d"})
            addFile(tagged(QStringLiteral("Music/%1.mp3").arg(QLatin1String(name)), QStringLiteral("Band"), QString::fromLatin1(name)));
        rows().setSubItem(2, PlaylistColumn::Status, QStringLiteral("Remove"));
        const QString next = fileOfRow(4);
        controls_SelectItem(rows(), 1);
        main().player_Play(1);
        main().tmrPosition_Timer();
        controls_SelectItem(rows(), 3);
        ui.modalHandlers.push_back([&](QObject* d) {
            player().finish();
            ASSERT_EQ(rows().count(), 3);
            c.edit(d);
        });
        main().tmrWindowUpdate_Timer();
        (main().*c.item)->trigger();
        EXPECT_EQ(rows().subItem(2, c.column), c.expected);
        EXPECT_EQ(fileOfRow(3), next);
        EXPECT_EQ(rows().subItem(3, PlaylistColumn::Artist), QString());
        main().mnuStop_Click();
    }
}

// The whole road with real input: the menu item, a click on "«", Enter for "Update »".
TEST_F(RenameTest, DrivenThroughTheEventLoop)
{
    const QString path = tagged(QStringLiteral("Music/track.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    addFile(path);
    remember(path);
    controls_SelectItem(rows(), 1);
    bool closed = false;
    ui.modalHandlers.push_back([&](QObject* form) {
        QPointer<FrmRename> d = qobject_cast<FrmRename*>(form);
        d->show();
        processEvents(20);
        postClick(d->cmdUseID3);
        processEvents(20);
        EXPECT_EQ(d->txtNewFilename->text(), QStringLiteral("Band - Song.mp3"));
        d->txtNewFilename->setFocus();
        postKey(d->txtNewFilename, Qt::Key_Return);
        processEvents(20);
        closed = !d || !d->isVisible();
    });
    main().tmrWindowUpdate_Timer();   // the items enabled for the selection
    main().mnuSelectedRenameFilename->trigger();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(QFile::exists(home("Music/Band - Song.mp3")));
    EXPECT_EQ(fileOfRow(1), home("Music/Band - Song.mp3"));
    EXPECT_EQ(trackedFile(), home("Music/Band - Song.mp3"));
    EXPECT_EQ(volumeFile(), home("Music/Band - Song.mp3"));
    EXPECT_TRUE(ui.messages().isEmpty());
}

} // namespace
