// Play counts: counting, the numeric order, the heading, Top entries and Play into the
// main playlist, reset, and the main window's use of it.
#include "player/PlaybackFixture.h"
#include "player/MainWindowFixture.h"

#include "common/modSettings.h"
#include "extras/FrmTracking.h"

#include <QCheckBox>
#include <QLabel>

namespace {
class TrackingTest : public PlaybackTest {
protected:
    FrmTracking& tracking() { return forms().get<FrmTracking>(); }
    QStringList column(int c)
    {
        QStringList out;
        for (int r = 1; r <= tracking().rows().count(); ++r) out.append(tracking().rows().subItem(r, c));
        return out;
    }
    void count(const QString& path, int times)
    {
        for (int i = 0; i < times; ++i) tracking().tracking_Add(QStringLiteral("A"), QStringLiteral("T"), path);
    }
    // tracking.ssb of (count, file) rows, read by a fresh window.
    void writeList(const QList<std::pair<QString, QString>>& rows)
    {
        QByteArray text;
        for (const auto& [played, path] : rows) text += "\"A\"\r\n\"T\"\r\n\"" + played.toUtf8() + "\"\r\n\"" + path.toUtf8() + "\"\r\n";
        writeFile(QStringLiteral("tracking.ssb"), text);
        forms().unload<FrmTracking>();
    }
    QStringList mainFiles()
    {
        QStringList out;
        for (int r = 1; r <= list().count(); ++r) out.append(file(r));
        return out;
    }
};
} // namespace

TEST_F(TrackingTest, PlaysCountInOneRowAndNewFilesGoBelowHigherCounts)
{
    const QString a = home(QStringLiteral("Music/a.mp3")), b = home(QStringLiteral("Music/b.mp3")), c = home(QStringLiteral("Music/c.mp3"));
    count(a, 3);
    EXPECT_EQ(column(2), QStringList({"03"}));
    count(b, 2);
    count(c, 1);
    EXPECT_EQ(column(3), QStringList({a, b, c}));
    EXPECT_EQ(column(2), QStringList({"03", "02", "01"}));
    count(home(QStringLiteral("Music/A.mp3")), 1);   // letter case differs: another file
    EXPECT_EQ(tracking().rows().count(), 4);
    EXPECT_EQ(tracking().lblText->text(), QStringLiteral("4 most commonly played media files:"));
    tracking().tracking_Add(QStringLiteral("A"), QStringLiteral("T"), QString());
    EXPECT_EQ(tracking().rows().count(), 4);
}

TEST_F(TrackingTest, CountsSortAsNumbersAndStopAtTheLimit)
{
    const QString a = home(QStringLiteral("Music/a.mp3")), b = home(QStringLiteral("Music/b.mp3")), c = home(QStringLiteral("Music/c.mp3")),
                  d = home(QStringLiteral("Music/d.mp3"));
    writeList({{"99", a}, {"100", b}, {"x7", c}, {"32767", d}});
    EXPECT_EQ(column(3), QStringList({d, b, a, c}));
    count(a, 1);   // now 100 too: below the 100 that was there first
    EXPECT_EQ(column(3), QStringList({d, b, a, c}));
    EXPECT_EQ(column(2), QStringList({"32767", "100", "100", "x7"}));
    count(d, 1);
    count(c, 1);   // not a number: counted from 0
    EXPECT_EQ(column(2), QStringList({"32767", "100", "100", "01"}));
}

TEST_F(TrackingTest, TopEntriesAndPlayFillTheMainPlaylist)
{
    QList<std::pair<QString, QString>> rows;
    for (int i = 1; i <= 25; ++i) rows.append({i <= 4 ? QStringLiteral("0%1").arg(6 - i) : QStringLiteral("01"), song(QStringLiteral("t%1.mp3").arg(i))});
    writeList(rows);
    EXPECT_EQ(tracking().lblText->text(), QStringLiteral("25 most commonly played media files:"));
    tracking().show();

    tracking().mnuTop10Entries->trigger();
    QStringList expected;
    for (int i = 1; i <= 10; ++i) expected.append(rows[i - 1].second);
    EXPECT_EQ(mainFiles(), expected);
    EXPECT_TRUE(tracking().isHidden());
    EXPECT_TRUE(playing());
    EXPECT_EQ(logLines().filter(QStringLiteral("Top ")), QStringList({"Top 10 tracks in the Tracking window were sent to the main windows playlist."}));
    EXPECT_EQ(tracking().rows().subItem(1, 2), QStringLiteral("06"));   // the song that started was counted

    tracking().tracking_SendTopEntries(30);
    EXPECT_EQ(mainFiles(), QStringList({rows[0].second, rows[1].second, rows[2].second, rows[3].second}));
    EXPECT_TRUE(logLines().contains(QStringLiteral("Tracking list was exported into the main window.")));

    tracking().cmdClear_Click();
    EXPECT_EQ(tracking().lblText->text(), QStringLiteral("Most commonly played media files:"));
}

TEST_F(TrackingTest, ResetAsksThenEveryCountIsZero)
{
    const QString a = home(QStringLiteral("Music/a.mp3"));
    count(a, 2);
    count(home(QStringLiteral("Music/b.mp3")), 1);
    ui.msgAnswers = {veltra::MsgResult::No, veltra::MsgResult::Yes};
    tracking().mnuResetPlayCounts_Click();
    EXPECT_EQ(column(2), QStringList({"02", "01"}));
    tracking().mnuResetPlayCounts_Click();
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Reset Tracking List Confirmation"));
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Once the tracking list has been reset, you will not be able to get the orginal "
                                                    "numbers back.\r\n\r\nDo you wish to continue?\r\n"));
    EXPECT_EQ(column(2), QStringList({"00", "00"}));
    EXPECT_EQ(tracking().lblText->text(), QStringLiteral("2 most commonly played media files:"));
    EXPECT_TRUE(readFile(home(QStringLiteral("tracking.ssb"))).contains("\"00\""));
}

TEST_F(TrackingTest, MainWindowCountsPlaysFromPlaylistsOnly)
{
    addSongs(2);
    playRow(1, 1);
    playRow(1, 1);
    playRow(2, 2);   // not a playlist start: not counted
    EXPECT_EQ(tracking().rows().count(), 1);
    EXPECT_EQ(tracking().rows().cells(1), QStringList({"A1", "T1", "02", file(1)}));

    tracking().chkAlwaysUseTracking->setChecked(false);
    tracking().chkAlwaysUseTracking_Click();
    EXPECT_EQ(tracking().windowTitle(), QStringLiteral("Tracking - [Disabled]"));
    playRow(1, 1);
    EXPECT_EQ(tracking().rows().subItem(1, 2), QStringLiteral("02"));

    QObject* shown = nullptr;
    ui.modalHandlers.push_back([&](QObject* form) { shown = form; });
    main->mnuTracking->trigger();
    EXPECT_EQ(shown, &tracking());
}
