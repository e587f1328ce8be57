// Per-song volumes: the list's order and matching, the switch, the file's exact form, and
// the main window's use of it (Store Volume, a song starting, the Volumes command).
#include "common/modSettings.h"
#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/PlaybackFixture.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QCheckBox>
#include <QSlider>

namespace {
class VolumesTest : public PlaybackTest {
protected:
    void SetUp() override
    {
        PlaybackTest::SetUp();
        volumes().chkAlwaysAdjust->setChecked(true);
    }
    FrmAdjustVolumes& volumes() { return forms().get<FrmAdjustVolumes>(); }
    QStringList column(int c)
    {
        QStringList out;
        for (int r = 1; r <= volumes().rows().count(); ++r) out.append(volumes().rows().subItem(r, c));
        return out;
    }
};
} // namespace

TEST_F(VolumesTest, NewVolumesSortByTextAndPathsMatchOnlyExactly)
{
    const QString a = home("Music/a.mp3"), upper = home("Music/A.MP3");
    volumes().volumes_Add("A", "T", 100, a);
    volumes().volumes_Add("B", "T", 75, home("Music/b.mp3"));
    volumes().volumes_Add("C", "T", 9, home("Music/c.mp3"));
    EXPECT_EQ(column(2), QStringList({"9", "75", "100"}));

    volumes().volumes_Add("Other", "U", 30, upper);   // another file: a row of its own
    volumes().volumes_Add("New", "New", 60, a);       // listed: only the volume changes
    EXPECT_EQ(volumes().rows().count(), 4);
    EXPECT_EQ(volumes().rows().cells(column(3).indexOf(a) + 1), QStringList({"A", "T", "60", a}));
    EXPECT_EQ(volumes().volumes_GetVolume(upper), 30);
    EXPECT_EQ(volumes().volumes_GetVolume(home("Music/none.mp3")), -1);
    EXPECT_EQ(volumes().volumes_GetVolume(QString()), -1);
}

TEST_F(VolumesTest, OneAddWritesFourQuotedLinesAndTheSwitchOffChangesNothing)
{
    const QString path = home("Music/Band - Song.mp3");
    volumes().volumes_Add("Band", "Song", 75, path);
    const QByteArray written = "\"Band\"\r\n\"Song\"\r\n\"75\"\r\n\"" + path.toUtf8() + "\"\r\n";
    EXPECT_EQ(readFile(home("volumes.ssb")), written);

    volumes().chkAlwaysAdjust->setChecked(false);
    volumes().chkAlwaysAdjust_Click();
    EXPECT_EQ(volumes().volumes_GetVolume(path), -1);
    volumes().volumes_Add("B", "T", 90, home("Music/b.mp3"));
    volumes().volumes_Add("Band", "Song", 90, path);
    EXPECT_EQ(readFile(home("volumes.ssb")), written);
    EXPECT_EQ(settings_ReadValue("Settings", "AlwaysUseVolumeAdjusting"), "0");
    volumes().chkAlwaysAdjust->setCheckState(Qt::PartiallyChecked);   // grey counts as off
    EXPECT_EQ(volumes().volumes_GetVolume(path), -1);
}

TEST_F(VolumesTest, StoreVolumeASongStartingAndTheVolumesCommandUseTheList)
{
    addSongs(2);
    main->sldVolume->setValue(35);
    controls_SelectItem(list(), 2);
    main->mnuStoreVolume->trigger();
    ASSERT_EQ(volumes().rows().count(), 1);
    EXPECT_EQ(volumes().rows().cells(1), QStringList({"A2", "T2", "35", file(2)}));

    main->sldVolume->setValue(80);
    playRow(2);
    EXPECT_EQ(player->Volume(), 35 * 60 - 6000);
    playRow(1);   // nothing stored: the user's own volume comes back
    EXPECT_EQ(main->sldVolume->value(), 80);

    list().setSelected(2, true);
    main->mnuStoreVolume_Click();
    EXPECT_EQ(ui.messages().value(0).title, "Error Storing Volume");

    QObject* shown = nullptr;
    ui.modalHandlers.push_back([&](QObject* form) { shown = form; });
    main->mnuVolumes->trigger();
    EXPECT_EQ(shown, &volumes());
}
