// Play counts: counting, the numeric order, the heading, Top entries and Play into the
// main playlist, reset, and the main window's use of it.
#include "extras/FrmTracking.h"
#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/PlaybackFixture.h"

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
    void count(const QString& path, int times = 1)
    {
        for (int i = 0; i < times; ++i) tracking().tracking_Add("A", "T", path);
    }
    // tracking.ssb of (count, file) rows, read by a fresh window.
    void writeList(const QList<std::pair<QString, QString>>& rows)
    {
        QByteArray text;
        for (const auto& [played, path] : rows) text += "\"A\"\r\n\"T\"\r\n\"" + played.toUtf8() + "\"\r\n\"" + path.toUtf8() + "\"\r\n";
        writeFile("tracking.ssb", text);
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
    const QString a = home("Music/a.mp3"), b = home("Music/b.mp3"), c = home("Music/c.mp3");
    count(a, 3);
    EXPECT_EQ(column(2), QStringList({"03"}));
    count(b, 2);
    count(c);
    count(home("Music/A.mp3"));   // letter case differs: another file
    count(QString());
    EXPECT_EQ(column(3), QStringList({a, b, c, home("Music/A.mp3")}));
    EXPECT_EQ(column(2), QStringList({"03", "02", "01", "01"}));
    EXPECT_EQ(tracking().lblText->text(), "4 most commonly played media files:");
}

TEST_F(TrackingTest, CountsSortAsNumbersAndStopAtTheLimit)
{
    const QString a = home("Music/a.mp3"), b = home("Music/b.mp3"), c = home("Music/c.mp3"), d = home("Music/d.mp3");
    writeList({{"99", a}, {"100", b}, {"x7", c}, {"32767", d}});
    EXPECT_EQ(column(3), QStringList({d, b, a, c}));
    count(a);   // now 100 too: below the 100 that was there first
    count(d);
    count(c);   // not a number: counted from 0
    EXPECT_EQ(column(3), QStringList({d, b, a, c}));
    EXPECT_EQ(column(2), QStringList({"32767", "100", "100", "01"}));
}

TEST_F(TrackingTest, TopEntriesAndPlayFillTheMainPlaylist)
{
    QList<std::pair<QString, QString>> rows;
    for (int i = 1; i <= 25; ++i) rows.append({i <= 4 ? QString("0%1").arg(6 - i) : "01", song(QString("t%1.mp3").arg(i))});
    writeList(rows);
    EXPECT_EQ(tracking().lblText->text(), "25 most commonly played media files:");
    tracking().show();

    tracking().mnuTop10Entries->trigger();
    QStringList top10;
    for (int i = 0; i < 10; ++i) top10.append(rows[i].second);
    EXPECT_EQ(mainFiles(), top10);
    EXPECT_TRUE(tracking().isHidden());
    EXPECT_TRUE(playing());
    EXPECT_TRUE(logLines().contains("Top 10 tracks in the Tracking window were sent to the main windows playlist."));
    EXPECT_EQ(tracking().rows().subItem(1, 2), "06");   // the song that started was counted

    tracking().tracking_SendTopEntries(30);   // fewer rows: those played more than once
    EXPECT_EQ(mainFiles(), QStringList({rows[0].second, rows[1].second, rows[2].second, rows[3].second}));
    EXPECT_TRUE(logLines().contains("Tracking list was exported into the main window."));

    tracking().cmdClear_Click();
    EXPECT_EQ(tracking().lblText->text(), "Most commonly played media files:");
}

TEST_F(TrackingTest, ResetAsksThenEveryCountIsZero)
{
    count(home("Music/a.mp3"), 2);
    count(home("Music/b.mp3"));
    ui.msgAnswers = {veltra::MsgResult::No, veltra::MsgResult::Yes};
    tracking().mnuResetPlayCounts_Click();
    EXPECT_EQ(column(2), QStringList({"02", "01"}));
    tracking().mnuResetPlayCounts_Click();
    EXPECT_EQ(ui.messages().value(0).title, "Reset Tracking List Confirmation");
    EXPECT_EQ(ui.messages().value(0).text, "Once the tracking list has been reset, you will not be able to get the orginal "
                                           "numbers back.\r\n\r\nDo you wish to continue?\r\n");
    EXPECT_EQ(column(2), QStringList({"00", "00"}));
    EXPECT_EQ(tracking().lblText->text(), "2 most commonly played media files:");
    EXPECT_TRUE(readFile(home("tracking.ssb")).contains("\"00\""));
}

TEST_F(TrackingTest, MainWindowCountsPlaylistStartsAndShowsTheWindow)
{
    addSongs(2);
    playRow(1, 1);
    playRow(1, 1);
    playRow(2, 2);   // not a playlist start: not counted
    EXPECT_EQ(tracking().rows().count(), 1);
    EXPECT_EQ(tracking().rows().cells(1), QStringList({"A1", "T1", "02", file(1)}));

    tracking().chkAlwaysUseTracking->setChecked(false);
    tracking().chkAlwaysUseTracking_Click();
    EXPECT_EQ(tracking().windowTitle(), "Tracking - [Disabled]");
    playRow(1, 1);
    EXPECT_EQ(tracking().rows().subItem(1, 2), "02");

    QObject* shown = nullptr;
    ui.modalHandlers.push_back([&](QObject* form) { shown = form; });
    main->mnuTracking->trigger();
    EXPECT_EQ(shown, &tracking());
}
