// Edit Entry, opened by Properties on a row whose file has no tags the program edits.
#include "library/OrganiseFixture.h"

#include "library/FrmRename.h"
#include "playlisttools/FrmEditEntry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

class EditEntryTest : public OrganiseTest {
protected:
    // Properties on `row`, the dialog handled by `withDialog` while it is open.
    void openOn(int row, const std::function<void(FrmEditEntry&)>& withDialog)
    {
        controls_SelectItem(rows(), row);
        ui.modalHandlers.push_back([withDialog](QObject* form) {
            auto* d = qobject_cast<FrmEditEntry*>(form);
            ASSERT_NE(d, nullptr);
            withDialog(*d);
        });
        main().mnuProperties_Click();
        EXPECT_FALSE(forms().isLoaded<FrmEditEntry>());   // discarded once closed
    }
    QString video;
    QString savedPlaylist() { return home(QStringLiteral("Playlists/Mix.spp")); }
    void SetUp() override
    {
        OrganiseTest::SetUp();
        video = writeFile("Music/clip.wma", "not really a wma");
        main().playlist_AddSong(QStringLiteral("Band"), QStringLiteral("Clip"), QStringLiteral("1999"), video);
        main().playlist_AddSong(QStringLiteral("Other"), QStringLiteral("Row"), QString(), writeFile("Music/b.avi", "x"));
    }
};

TEST_F(EditEntryTest, FilledFromTheRowAndWrittenBackAsTyped)
{
    openOn(1, [&](FrmEditEntry& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit Entry"));
        EXPECT_EQ(d.EntryIndex(), 1);
        EXPECT_EQ(d.txtFilename->text(), video);
        EXPECT_TRUE(d.txtFilename->isReadOnly());
        EXPECT_EQ(d.txtArtist->text() + u'|' + d.txtTitle->text() + u'|' + d.txtYear->text(), QStringLiteral("Band|Clip|1999"));
        EXPECT_TRUE(d.chkSaveChanges->isChecked());
        EXPECT_EQ(d.cmdUpdate->text(), QStringLiteral("&Update »"));
        EXPECT_EQ(d.cmdRename->toolTip(), QStringLiteral("Rename"));
        d.txtArtist->clear();
        d.txtTitle->setText(QStringLiteral(" "));
        d.txtYear->clear();
        d.cmdUpdate_Click();
    });
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Artist), QStringLiteral("[None]"));
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Title), QStringLiteral(" "));
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Year), QString());
    EXPECT_EQ(fileOfRow(1), video);
    EXPECT_TRUE(log().contains(video + QStringLiteral(" entry modified.")));
    EXPECT_FALSE(QFile::exists(savedPlaylist()));   // no playlist chosen: nothing saved

    // The dialog keeps to its row when rows move meanwhile.
    openOn(2, [&](FrmEditEntry& d) {
        rows().moveRows(QList<int>{2}, 1);
        EXPECT_EQ(d.EntryIndex(), 1);
        d.txtArtist->setText(QStringLiteral("Moved"));
        d.cmdUpdate_Click();
    });
    EXPECT_EQ(artists(), QStringList({"Moved", "[None]"}));
}

TEST_F(EditEntryTest, SavesOnlyWithTheBoxTickedAndAPlaylistChosen)
{
    namePlaylist(QStringLiteral("Mix"));
    openOn(1, [](FrmEditEntry& d) {
        d.chkSaveChanges->setChecked(false);
        d.cmdUpdate_Click();
    });
    EXPECT_FALSE(QFile::exists(savedPlaylist()));
    openOn(1, [](FrmEditEntry& d) {
        d.txtArtist->setText(QStringLiteral("Saved"));
        d.cmdUpdate_Click();
    });
    EXPECT_TRUE(readFile(savedPlaylist()).contains("\"Saved\""));
}

// Real keys: the Year box takes four characters, Enter updates, Esc leaves the row alone, and
// "»" hands the file to Rename Song, dropping what was typed.
TEST_F(EditEntryTest, KeysAndTheRenameButton)
{
    openOn(1, [](FrmEditEntry& d) {
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        d.txtYear->setFocus();
        d.txtYear->clear();
        QTest::keyClicks(d.txtYear, QStringLiteral("20245"));
        EXPECT_EQ(d.txtYear->text(), QStringLiteral("2024"));
        QTest::keyClick(d.txtYear, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Year), QStringLiteral("2024"));

    openOn(1, [](FrmEditEntry& d) {
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        d.txtArtist->setText(QStringLiteral("Typed"));
        QTest::keyClick(d.txtArtist, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Artist), QStringLiteral("Band"));

    QString renameShown;
    openOn(1, [&](FrmEditEntry& d) {
        ui.modalHandlers.push_back([&](QObject* form) {
            auto* r = qobject_cast<FrmRename*>(form);
            ASSERT_NE(r, nullptr);
            renameShown = r->txtDirectory->text() + r->txtFilename->text() + u' ' + QString::number(r->Row());
        });
        d.txtArtist->setText(QStringLiteral("Dropped"));
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        QTest::mouseClick(d.cmdRename, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(renameShown, video + QStringLiteral(" 1"));
    EXPECT_FALSE(forms().isLoaded<FrmRename>());
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Artist), QStringLiteral("Band"));
}

} // namespace
