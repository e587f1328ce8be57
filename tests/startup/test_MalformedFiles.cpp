// Start-up on files a hand edit, an older version or a crash left malformed: the program
// comes up usable and leaves the user's files as they were.
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "support/StartupFixture.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

class MalformedStartTest : public StartupFixture {};

// Stored places and sizes no screen shows: the window comes back where a user can reach it.
TEST_F(MalformedStartTest, AWindowPlaceNoScreenShowsBringsTheWindowBackOnTheScreen)
{
    struct Case {
        const char* top;
        const char* left;
        const char* height;
        const char* width;
    };
    const Case cases[] = {
        {"-99999999999", "1e30", "-5", "99999999999999999999"},
        {"1e9", "-1e9", "3000", "3000"},
        {"3000", "-600000", "3000", "3000"},   // far left of every screen
        {"1500", "1500", "1e300", "1e300"},
        {"-1e308", "1e308", "1e308", "-1e308"},
    };
    const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.top + std::string(" ") + c.left);
        const QByteArray ini = QByteArray("[Position_MainWindow]\r\nWindow_Top=") + c.top + "\r\nWindow_left=" + c.left
            + "\r\nWindow_Height=" + c.height + "\r\nWindow_Width=" + c.width + "\r\nWindow_Maximized=0\r\n";
        writeFile("settings.ini", ini);
        start();
        const QRect placed = main().geometry();
        EXPECT_GE(placed.top(), screen.top());
        EXPECT_LT(placed.top(), screen.bottom());
        EXPECT_TRUE(placed.intersects(screen)) << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height();
        EXPECT_LE(placed.width(), screen.width());
        EXPECT_LE(placed.height(), screen.height());
        EXPECT_GE(placed.height(), 200);   // no size at all is the first start's size
        EXPECT_GE(placed.width(), 200);
        TearDown();
        SetUp();
    }
}

// Recent-list sizes out of the allowed 10 to 60 (a hand edit): kept within, so clearing or
// pruning a list never writes its settings billions of times.
TEST_F(MalformedStartTest, RecentListSizesOutOfRangeAreKeptWithinTheAllowedOnes)
{
    const std::pair<const char*, int> cases[] = {
        {"2000000000", 60}, {"1e20", 60}, {"-7", 10}, {"abc", 10}, {"45", 45}, {"", 10}};
    for (const auto& [stored, size] : cases) {
        SCOPED_TRACE(stored);
        writeFile("settings.ini", QByteArray("[Settings]\r\nNumberofRecentPlaylists=") + stored
                                      + "\r\nNumberofRecentMediaFiles=" + stored + "\r\n");
        start();
        EXPECT_EQ(RecentPlaylistsMax, size);
        EXPECT_EQ(RecentMediaMax, size);
        TearDown();
        SetUp();
    }
}

// Column widths no column can have come back at their defaults instead of hiding their
// column at every run; a column the user narrowed to nothing stays so.
TEST_F(MalformedStartTest, ColumnWidthsBelowNothingOrBeyondAnyScreenComeBackAtTheirDefaults)
{
    const std::pair<const char*, double> cases[] = {
        {"-50000", 3000}, {"2e12", 3000}, {"1e8", 3000}, {"1e308", 3000}, {"0", 0}, {"4500", 4500}};
    for (const auto& [stored, width] : cases) {
        SCOPED_TRACE(stored);
        writeFile("settings.ini", QByteArray("[ColumnHeaders_MainWindow]\r\nTitle=") + stored + "\r\nNumber=" + stored + "\r\n");
        start();
        EXPECT_EQ(main().lstvPlaylist->columnWidthTwips(PlaylistColumn::Title), width);
        EXPECT_EQ(main().lstvPlaylist->columnWidthTwips(PlaylistColumn::Number), width == 3000 ? 800 : width);
        TearDown();
        SetUp();
    }
}

// Numbers far beyond what any control holds are held at the nearest end, and a last-played
// row far beyond the list leaves the play commands working.
TEST_F(MalformedStartTest, NumbersBeyondAnyControlAreHeldAtTheNearestEnd)
{
    const QString a = song("a.mp3");
    writePlaylist("Playlists/default.spp", {a, a, a});
    writeFile("settings.ini", "[Sound]\r\nVolume=1e300\r\nBalance=-1e300\r\n[Playback]\r\nLastPlayed=1e20\r\n");
    start();
    EXPECT_EQ(main().sldVolume->value(), main().sldVolume->maximum());
    EXPECT_EQ(main().sldBalance->value(), main().sldBalance->minimum());
    EXPECT_EQ(main().CurrentTrack, 4);   // beyond the list, as a row since removed would be
    main().mnuNextTrack_Click();
    main().mnuPlay_Click();
    EXPECT_GE(main().CurrentTrack, 0);
    EXPECT_LE(main().CurrentTrack, 4);
}

// A font size no font dialog offers comes back at the default; any other stays.
TEST_F(MalformedStartTest, APlaylistFontSizeBeyondAnyFontDialogComesBackAtTheDefault)
{
    const std::pair<const char*, double> cases[] = {{"1e9", 8}, {"1e308", 8}, {"200", 200}, {"12", 12}};
    for (const auto& [stored, points] : cases) {
        SCOPED_TRACE(stored);
        writeFile("settings.ini", QByteArray("[Appearance]\r\nFontsize=") + stored + "\r\n");
        start();
        EXPECT_EQ(main().lstvPlaylist->font().pointSizeF(), points);
        TearDown();
        SetUp();
    }
}

// A switch typed among files, before or after them: the files are added and the first one
// plays, rather than one broken path made of the quoted line.
TEST_F(MalformedStartTest, ASwitchAmongFilesOnTheCommandLineLeavesTheFilesWhole)
{
    const QString a = song("a.mp3");
    const QString b = song("b c.mp3");
    const QStringList lines[] = {{a, "/play"}, {"/PLAY", a}, {a, "/systray", b}, {"/new", a, b, "/minimize"}};
    for (const QStringList& line : lines) {
        SCOPED_TRACE(line.join(u' ').toStdString());
        writeFile("Playlists/default.spp", "");
        start(line);
        ASSERT_EQ(main().rows().count(), line.filter(QStringLiteral("/music/")).size());
        EXPECT_EQ(main().rows().subItem(1, PlaylistColumn::Filename), a);
        if (main().rows().count() == 2) {
            EXPECT_EQ(main().rows().subItem(2, PlaylistColumn::Filename), b);
        }
        EXPECT_EQ(main().wmpPlayer().FileName(), a);
        EXPECT_TRUE(main().isVisible());
        TearDown();
        SetUp();
    }
}

} // namespace
