// Per-song volumes: the list's order and matching, the switch, the file's exact form, and
// the main window's use of it (Store Volume, a song starting, the Volumes command).
#include "player/PlaybackFixture.h"
#include "player/MainWindowFixture.h"

#include "common/modSettings.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QCheckBox>
#include <QFile>
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
    const QString a = home(QStringLiteral("Music/a.mp3")), b = home(QStringLiteral("Music/b.mp3")), c = home(QStringLiteral("Music/c.mp3"));
    volumes().volumes_Add(QStringLiteral("A"), QStringLiteral("T"), 100, a);
    volumes().volumes_Add(QStringLiteral("B"), QStringLiteral("T"), 75, b);
    volumes().volumes_Add(QStringLiteral("C"), QStringLiteral("T"), 9, c);
    EXPECT_EQ(column(2), QStringList({"9", "75", "100"}));

    const QString upper = home(QStringLiteral("Music/A.MP3"));
    volumes().volumes_Add(QStringLiteral("Other"), QStringLiteral("U"), 30, upper);
    EXPECT_EQ(volumes().rows().count(), 4);   // another file, a row of its own
    EXPECT_EQ(volumes().volumes_GetVolume(upper), 30);
    EXPECT_EQ(volumes().volumes_GetVolume(a), 100);

    volumes().volumes_Add(QStringLiteral("New"), QStringLiteral("New"), 60, a);   // listed: only the volume changes
    EXPECT_EQ(volumes().rows().count(), 4);
    const int row = column(3).indexOf(a) + 1;
    EXPECT_EQ(volumes().rows().cells(row), QStringList({"A", "T", "60", a}));
    EXPECT_EQ(volumes().volumes_GetVolume(home(QStringLiteral("Music/none.mp3"))), -1);
    EXPECT_EQ(volumes().volumes_GetVolume(QString()), -1);
}

TEST_F(VolumesTest, SwitchedOffNothingIsStoredOrFound)
{
    const QString a = home(QStringLiteral("Music/a.mp3"));
    volumes().volumes_Add(QStringLiteral("A"), QStringLiteral("T"), 40, a);
    const QByteArray before = readFile(home(QStringLiteral("volumes.ssb")));
    volumes().chkAlwaysAdjust->setChecked(false);
    volumes().chkAlwaysAdjust_Click();
    EXPECT_EQ(volumes().volumes_GetVolume(a), -1);
    volumes().volumes_Add(QStringLiteral("B"), QStringLiteral("T"), 90, home(QStringLiteral("Music/b.mp3")));
    volumes().volumes_Add(QStringLiteral("A"), QStringLiteral("T"), 90, a);
    EXPECT_EQ(volumes().rows().count(), 1);
    EXPECT_EQ(volumes().rows().subItem(1, 2), QStringLiteral("40"));
    EXPECT_EQ(readFile(home(QStringLiteral("volumes.ssb"))), before);
    volumes().chkAlwaysAdjust->setCheckState(Qt::PartiallyChecked);   // grey counts as off
    EXPECT_EQ(volumes().volumes_GetVolume(a), -1);
}

TEST_F(VolumesTest, OneAddWritesFourQuotedLines)
{
    const QString path = home(QStringLiteral("Music/Band - Song.mp3"));
    volumes().volumes_Add(QStringLiteral("Band"), QStringLiteral("Song"), 75, path);
    EXPECT_EQ(readFile(home(QStringLiteral("volumes.ssb"))), "\"Band\"\r\n\"Song\"\r\n\"75\"\r\n\"" + path.toUtf8() + "\"\r\n");
    forms().unload<FrmAdjustVolumes>();
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("AlwaysUseVolumeAdjusting"), QStringLiteral("1"));
    EXPECT_EQ(volumes().volumes_GetVolume(path), 75);
}

TEST_F(VolumesTest, StoreVolumeAndASongStartingUseTheList)
{
    addSongs(2);
    main->sldVolume->setValue(35);
    controls_SelectItem(list(), 2);
    main->mnuStoreVolume->trigger();
    ASSERT_EQ(volumes().rows().count(), 1);
    EXPECT_EQ(volumes().rows().cells(1), QStringList({"A2", "T2", "35", file(2)}));

    main->sldVolume->setValue(80);
    playRow(2);
    EXPECT_EQ(main->sldVolume->value(), 35);
    EXPECT_EQ(player->Volume(), 35 * 60 - 6000);
    playRow(1);   // nothing stored: the user's own volume comes back
    EXPECT_EQ(main->sldVolume->value(), 80);

    list().selectOnly(1);
    list().setSelected(2, true);
    main->mnuStoreVolume_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Error Storing Volume"));
}

TEST_F(VolumesTest, VolumesCommandShowsTheWindowModallyAndKeepsIt)
{
    QObject* shown = nullptr;
    ui.modalHandlers.push_back([&](QObject* form) { shown = form; });
    main->mnuVolumes->trigger();
    EXPECT_EQ(shown, &volumes());
    EXPECT_TRUE(forms().isLoaded<FrmAdjustVolumes>());
}
