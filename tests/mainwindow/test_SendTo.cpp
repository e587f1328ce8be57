// The playlist menu's Send To branches, chosen with the mouse in the open menus: rows sent to a
// playlist file, to a mood's song list, and copied to a drive.
#include "mainwindow/PlaylistFilesFixture.h"

#include "common/MenuArray.h"
#include "common/modMoodFiles.h"
#include "common/modSettings.h"
#include "library/FrmMediaLibrary.h"
#include "media/modMedia.h"
#include "platform/Volumes.h"

#include <QStringEncoder>

using veltra::MsgIcon;

namespace {
// The element of `array` with this caption.
QAction* element(MenuArray* array, const QString& caption)
{
    for (int i = 1; i <= array->ubound(); ++i)
        if (array->at(i) && array->at(i)->text() == caption) return array->at(i);
    return nullptr;
}
} // namespace

class SendToTest : public PlaylistFilesFixture {
protected:
    void TearDown() override
    {
        volumes::setSource(nullptr);
        PlaylistFilesFixture::TearDown();
    }
    // Rows for these files (artist "A<n>"), all selected.
    void rowsFor(const QStringList& files)
    {
        for (int i = 0; i < files.size(); ++i) main().playlist_AddSong(QStringLiteral("A%1").arg(i + 1), QStringLiteral("T"), "1999", files[i]);
        controls_RenumberItems(rows());
        for (int r = 1; r <= rows().count(); ++r) rows().setSelected(r, true);
    }
    QStringList logLines(const QString& containing)
    {
        QStringList out;
        for (const QString& l : log().split(QStringLiteral("\r\n")))
            if (l.contains(containing)) out << l;
        return out;
    }
};

TEST_F(SendToTest, PlaylistGetsTheRowsItLacksStartingOnANewLineAndALostFileStopsAtOnce)
{
    // The target holds the second song already, and a name differing in case only.
    const QString target = home("Playlists/Party.spp");
    writeFile("Playlists/Party.spp", "\"01\"\r\n\"X\"\r\n\"Y\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"/m/two.mp3\"\r\n"
                                     "\"02\"\r\n\"X\"\r\n\"Y\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"/m/ONE.mp3\"");   // no end on the last line
    const QByteArray before = readFile(target);
    rowsFor({"/m/one.mp3", "/m/two.mp3", "/m/three, with a comma.mp3"});
    refill();
    QAction* party = element(menus().mnuItem, "Party");
    ASSERT_NE(party, nullptr);
    clickInMenu(menus().mnuPlaylist, party);

    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Song/Video Already In Playlist");
    EXPECT_EQ(ui.messages()[0].icon, int(MsgIcon::Information));
    EXPECT_EQ(readFile(target), before + "\r\n\"01\"\r\n\"A1\"\r\n\"T\"\r\n\"1999\"\r\n\"Play\"\r\n\"\"\r\n\"/m/one.mp3\"\r\n"
                                         "\"03\"\r\n\"A3\"\r\n\"T\"\r\n\"1999\"\r\n\"Play\"\r\n\"\"\r\n\"/m/three, with a comma.mp3\"\r\n");
    EXPECT_EQ(logLines("Playlist."), QStringList({"/m/one.mp3 added to 'Party' Playlist.", "/m/three, with a comma.mp3 added to 'Party' Playlist."}));
    EXPECT_EQ(rows().count(), 3);   // the playlist shown is left as it is

    // The file deleted meanwhile: one box, whatever the number of rows, and nothing written.
    QFile::remove(target);
    ui.clear();
    clickInMenu(menus().mnuPlaylist, party);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(lastBox(), "Playlist Filename Not Found|It has been detected the playlist you are trying to access does not exist.\r\n\r\n"
                         "Please check the playlist file path before continuing.\r\n");
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(SendToTest, MoodWithoutAListGetsOneAndItsFileMenuItemIsEnabled)
{
    settings_WriteValue("Advanced", "Moods", "Happy|Rainy Day");
    main().window_RemoveMoodMenus();
    main().window_InstallMoods();
    main().window_UpdateMoods();
    ASSERT_FALSE(main().mnuMoodOpen->at(2)->isEnabled());
    rowsFor({"/m/a.mp3", "/m/b, c.mp3"});
    clickInMenu(menus().mnuMode, element(menus().mnuSendToMood, "Rainy Day"));
    EXPECT_EQ(readFile(home("Moods/Rainy Day.mlst")), "/m/a.mp3\r\n/m/b, c.mp3\r\n");
    EXPECT_TRUE(main().mnuMoodOpen->at(2)->isEnabled());
    EXPECT_EQ(logLines("Mood."), QStringList({"/m/a.mp3 added to 'Rainy Day' Mood.", "/m/b, c.mp3 added to 'Rainy Day' Mood."}));
    EXPECT_TRUE(ui.messages().isEmpty());

    // Again: both are there already.
    clickInMenu(menus().mnuMode, element(menus().mnuSendToMood, "Rainy Day"));
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[1].title, "Song/Video Already In Mood");
    EXPECT_EQ(readFile(home("Moods/Rainy Day.mlst")), "/m/a.mp3\r\n/m/b, c.mp3\r\n");
}

TEST_F(SendToTest, ItemsNamedByTheUserShowTheirAmpersandAndReachTheirOwnFiles)
{
    const QString rnb = playlist("R&B.spp", 1);
    settings_WriteValue("Advanced", "Moods", "Happy|R&B");
    MoodList = "Happy|R&B";
    main().window_RemoveMoodMenus();
    main().window_InstallMoods();
    refill();
    main().mnuOpenMediaLibrary->trigger();
    const FrmMediaLibrary& library = forms().get<FrmMediaLibrary>();
    for (MenuArray* array : {menus().mnuItem, menus().mnuSendToMood, main().mnuMoodOpen, library.mnuSendToOp})
        EXPECT_NE(element(array, "R&&B"), nullptr) << array->objectName().toStdString();

    rowsFor({"/m/a.mp3"});
    clickInMenu(menus().mnuPlaylist, element(menus().mnuItem, "R&&B"));
    clickInMenu(menus().mnuMode, element(menus().mnuSendToMood, "R&&B"));
    EXPECT_TRUE(records(rnb).endsWith("\"/m/a.mp3\"\r\n"));
    EXPECT_EQ(readFile(home("Moods/R&B.mlst")), "/m/a.mp3\r\n");
    EXPECT_TRUE(main().mnuMoodOpen->at(2)->isEnabled());
    EXPECT_TRUE(ui.messages().isEmpty());
}

// A song list another program wrote in UTF-16 gets the song in UTF-16, once.
TEST_F(SendToTest, MoodListInUtf16GetsTheSongInItsOwnEncodingOnce)
{
    settings_WriteValue("Advanced", "Moods", "Happy");
    const auto utf16 = [](const char* text) { return "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(QString::fromUtf8(text))); };
    writeFile("Moods/Happy.mlst", utf16("/m/kept.mp3\r\n"));
    main().window_RemoveMoodMenus();
    main().window_InstallMoods();
    rowsFor({"/m/new.mp3"});
    for (int send = 0; send < 2; ++send) clickInMenu(menus().mnuMode, element(menus().mnuSendToMood, "Happy"));
    EXPECT_EQ(readFile(home("Moods/Happy.mlst")), utf16("/m/kept.mp3\r\n/m/new.mp3\r\n"));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Song/Video Already In Mood");
}

TEST_F(SendToTest, DrivesAreTheVolumesOfTheUsualPlacesNamedByKindInRootOrder)
{
    volumes::setSource([] {
        return QList<volumes::Volume>{{"/run/media/me/Backup", "ext4", false}, {"/media/me/STICK", "vfat", true},
                                      {"/srv/data", "xfs", false},            {"/", "ext4", false},
                                      {"/mnt/share", "nfs4", false},          {"/media/cdrom", "iso9660", true},
                                      {"/mnt/share", "nfs4", false}};
    });
    menus().mnuUpdateDrives->trigger();
    MenuArray* drives = menus().mnuDriveLetter;
    QStringList captions;
    for (int i = 1; i <= drives->ubound(); ++i) captions << drives->at(i)->text();
    EXPECT_EQ(captions, QStringList({"/   (Primary/Logical Disk Drive)", "/media/cdrom   (CD-ROM)", "/media/me/STICK   (Floppy Disk Drive)",
                                     "/mnt/share   (Network Drive)", "/run/media/me/Backup   (Primary/Logical Disk Drive)"}));
    EXPECT_EQ(drives->at(3)->data().toString(), "/media/me/STICK");
    EXPECT_FALSE(drives->at(0)->isVisible());

    volumes::setSource([] { return QList<volumes::Volume>{{"/media/x", "vfat", true}}; });
    menus().window_InstallDrives();
    EXPECT_EQ(drives->ubound(), 1);
}

TEST_F(SendToTest, DriveCopyLogsOnlyWhatWasCopiedAndAMissingFileDoesNotStopTheOthers)
{
    volumes::setSource([] { return QList<volumes::Volume>{{"/media/stick", "vfat", true}}; });
    menus().window_InstallDrives();
    const QString drive = home("Drive");
    QDir().mkpath(drive + "/blocked.mp3/blocked.mp3");   // folders where the copy would go
    menus().mnuDriveLetter->at(1)->setData(drive);
    const QString a = writeFile("Music/a.mp3", "aaa"), blocked = writeFile("Music/blocked.mp3", "bbb"), b = writeFile("Music/b.mp3", "ccc");
    const QString gone = home("Music/gone.mp3");
    rowsFor({a, gone, b, blocked});
    clickInMenu(menus().mnuSendToDrive, menus().mnuDriveLetter->at(1));

    EXPECT_EQ(readFile(drive + "/a.mp3"), "aaa");
    EXPECT_EQ(readFile(drive + "/b.mp3"), "ccc");
    EXPECT_EQ(logLines("drive."), QStringList({a + " copy to '" + drive + "' drive.", b + " copy to '" + drive + "' drive."}));
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[0].title, "Error Copying Music To Driv");
    EXPECT_EQ(ui.messages()[0].text, "One of the selected filenames in the playlist cannot be copied because it does not exist:\r\n\r\n" + gone
                                         + "\r\n\r\nThis file will not be copied to the selected drive.\r\n");
    EXPECT_EQ(ui.messages()[1].title, "Error Copying File");

    // A drive gone since the menu was built: one box, nothing copied.
    menus().mnuDriveLetter->at(1)->setData(home("Unplugged"));
    ui.clear();
    menus().mnuDriveLetter_Click(1);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Error Copying Music To Drive");
    EXPECT_FALSE(QFileInfo::exists(home("Unplugged")));

    // No row selected: nothing at all.
    rows().clearSelection();
    ui.clear();
    menus().mnuDriveLetter->at(1)->setData(drive);
    menus().mnuDriveLetter_Click(1);
    menus().mnuItem_Click(1);
    EXPECT_TRUE(ui.messages().isEmpty());
}

// The second of three copies fails (a full drive, say): its box says the command ends, and it
// does; the song copied before stays, the one after is not copied.
TEST_F(SendToTest, DriveCopyEndsAtTheFirstFailedCopyAndKeepsWhatWasCopied)
{
    volumes::setSource([] { return QList<volumes::Volume>{{"/media/stick", "vfat", true}}; });
    menus().window_InstallDrives();
    const QString drive = home("Drive");
    QDir().mkpath(drive + "/two.mp3/two.mp3");   // folders where the second copy would go
    menus().mnuDriveLetter->at(1)->setData(drive);
    const QString one = writeFile("Music/one.mp3", "111"), two = writeFile("Music/two.mp3", "222"), three = writeFile("Music/three.mp3", "333");
    rowsFor({one, two, three});
    clickInMenu(menus().mnuSendToDrive, menus().mnuDriveLetter->at(1));

    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Error Copying File");
    EXPECT_TRUE(ui.messages()[0].text.endsWith("This function will not continue.\r\n"));
    EXPECT_EQ(readFile(drive + "/one.mp3"), "111");
    EXPECT_FALSE(QFileInfo::exists(drive + "/three.mp3"));
    EXPECT_EQ(QDir(drive).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(u' ').toStdString(), "one.mp3 two.mp3");
    EXPECT_EQ(logLines("drive."), QStringList({one + " copy to '" + drive + "' drive."}));
}

TEST_F(SendToTest, DriveCopyAsksBeforeReplacingAnotherFileAndSkipsTheSameOne)
{
    volumes::setSource([] { return QList<volumes::Volume>{{"/media/stick", "vfat", true}}; });
    menus().window_InstallDrives();
    const QString drive = home("Drive");
    menus().mnuDriveLetter->at(1)->setData(drive);
    const QString same = writeFile("Music/same.mp3", "same"), kept = writeFile("Music/kept.mp3", "new"),
                  replaced = writeFile("Music/replaced.mp3", "new");
    writeFile("Drive/same.mp3", "same");
    writeFile("Drive/kept.mp3", "mine");
    writeFile("Drive/replaced.mp3", "mine");
    rowsFor({same, kept, replaced});
    ui.msgAnswers = {veltra::MsgResult::No, veltra::MsgResult::Yes};
    clickInMenu(menus().mnuSendToDrive, menus().mnuDriveLetter->at(1));

    ASSERT_EQ(ui.messages().size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ui.messages()[i].title, "Replace File On Drive Confirmation");
        EXPECT_EQ(ui.messages()[i].buttons, int(veltra::MsgButtons::YesNo));
    }
    EXPECT_EQ(ui.messages()[0].text, "A different file of the same name is already on the selected drive:\r\n\r\n" + drive
                                         + "/kept.mp3\r\n\r\nWould you like to replace it?\r\n");
    EXPECT_EQ(readFile(drive + "/kept.mp3"), "mine");
    EXPECT_EQ(readFile(drive + "/replaced.mp3"), "new");
    EXPECT_EQ(logLines("drive."), QStringList({replaced + " copy to '" + drive + "' drive."}));
}
