// Files the player cannot play: refused when loaded (one retry, then the error; nothing
// logged, counted or coloured) and songs that break off while playing (they end as their
// end would, with one console line). With the fake player, and with the real GStreamer
// player started through the real start-up and its command line.
#include "PlaybackFixture.h"

#include "common/PlaylistRow.h"
#include "platform/GstMediaPlayerControl.h"
#include "preferences/FrmAdjustVolumes.h"
#include "support/PulseNullSink.h"
#include "support/RealPlayerFixture.h"
#include "support/StartupFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

namespace {
const QString kPlayError = QStringLiteral("Error Playing Media File");
}

TEST_F(PlaybackTest, ARefusedFileIsTriedTwiceThenEndsInTheErrorWithNothingRecorded)
{
    addSongs(2);
    const quint32 before = list().foreColour(2);
    forms().get<FrmAdjustVolumes>().chkAlwaysAdjust->setChecked(true);
    forms().get<FrmAdjustVolumes>().volumes_Add("Artist", "Title", 20, file(2));
    main->sldVolume->setValue(70);
    player->refusePlays = 2;
    playRow(2);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, kPlayError);
    EXPECT_EQ(player->history.filter(QStringLiteral("FileName=")),
              QStringList({QStringLiteral("FileName=") + file(2), QStringLiteral("FileName=") + file(2)}));
    EXPECT_TRUE(playedLines().isEmpty());
    EXPECT_EQ(list().foreColour(2), before);   // not coloured as playing
    EXPECT_FALSE(playing());
    EXPECT_EQ(main->PlayerState, FrmMain::Playback::Stopped);
    EXPECT_EQ(main->sldVolume->value(), 70);   // the song's stored volume went with it
    EXPECT_EQ(main->VolumeBeforeAdjust, -1);
}

TEST_F(PlaybackTest, ASongThatBreaksOffEndsAsItsEndWouldWithOneConsoleLine)
{
    addSongs(2);
    playRow(1);
    // From the event loop, as the player reports it.
    QTimer::singleShot(0, player, [this] { player->fail(QStringLiteral("Internal data stream error.")); });
    processEvents(20);
    EXPECT_EQ(logLines().filter(QStringLiteral("Error playing")),
              QStringList{QStringLiteral("Error playing ") + file(1) + QStringLiteral(":  Internal data stream error.")});
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_TRUE(playing());
    EXPECT_TRUE(ui.messages().isEmpty());
}

// The real program's start-up and its real player: a broken MP3, a folder and a missing path
// on the command line.
class RefusedOnTheCommandLineTest : public RealPlayerFixture<StartupFixture> {
protected:
    QStringList played() const
    {
        return forms().get<FrmConsole>().Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).filter(QStringLiteral("Played "));
    }
};

TEST_F(RefusedOnTheCommandLineTest, EachIsARowAndPlayingItEndsInItsMessage)
{
    const QString broken = writeFile(QStringLiteral("music/broken.mp3"), QByteArray("not a song\r\n").repeated(300));
    const QString folder = home(QStringLiteral("music/a folder"));
    QDir().mkpath(folder);
    const QString missing = home(QStringLiteral("music/missing.mp3"));
    start({broken, folder, missing});
    FrmMain& m = main();
    ASSERT_EQ(m.rows().count(), 3);
    EXPECT_EQ(m.rows().subItem(2, PlaylistColumn::Filename), folder);
    EXPECT_EQ(m.rows().subItem(3, PlaylistColumn::Filename), missing);

    // The first row was played at start: refused.
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().at(0).title, kPlayError);
    EXPECT_NE(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);

    controls_SelectItem(m.rows(), 2);
    m.mnuPlay_Click();
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages().at(1).title, kPlayError);

    // A path that is not there: the playlist's own message for missing files.
    controls_SelectItem(m.rows(), 3);
    m.mnuPlay_Click();
    ASSERT_EQ(ui.messages().size(), 3);
    EXPECT_EQ(ui.messages().at(2).title, QStringLiteral("Files In Playlist Do Not Exist"));

    // Nothing reported later from the event loop, nothing logged as played.
    processEvents(700);
    EXPECT_EQ(ui.messages().size(), 3);
    EXPECT_TRUE(played().isEmpty());
    EXPECT_EQ(m.PlayerState, FrmMain::Playback::Stopped);
}
