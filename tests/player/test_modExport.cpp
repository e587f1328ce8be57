#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "player/modExport.h"
#include "support/TestEnv.h"

namespace {

class ExportTest : public VeltraTest {
protected:
    ListViewModel playlist;
    void SetUp() override
    {
        VeltraTest::SetUp();
        playlist.setColumns(PlaylistColumn::headers());
    }
};

TEST_F(ExportTest, TextLines)
{
    playlist.add({"7", "A", "T", "", "Play", "", "/m/a.mp3"});
    playlist.add({"", "[None]", "[None]", "", "Play", "", "/m/b.mp3"});
    const QString path = home("list.txt");
    ASSERT_TRUE(playlistexport::writeText(playlist, path));
    EXPECT_EQ(readFile(path), QByteArray("7.  A - T\r\n.  [None] - [None]\r\n"));
    // a second export replaces the first
    ASSERT_TRUE(playlistexport::writeText(playlist, path));
    EXPECT_EQ(readFile(path).count('\n'), 2);

    ListViewModel empty;
    empty.setColumns({"No.", "Artist:", "Title:"});
    ASSERT_TRUE(playlistexport::writeText(empty, path));
    EXPECT_TRUE(readFile(path).isEmpty());
}

TEST_F(ExportTest, HtmlPageLineByLine)
{
    playlist.add({"01", "Simon & Garfunkel", "<Mrs. \"Robinson\">", "", "Play", "", "/m/a.mp3"});
    playlist.add({"02", "Björk", "Jóga", "", "Play", "", "/m/b.mp3"});
    const QString path = home("My <Best>.html");
    ASSERT_TRUE(playlistexport::writeHtml(playlist, path, "#000080", "#FFFFFF"));
    const QByteArray bytes = readFile(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    const QStringList expected = {
        "<html>", "<head>", "", "<title>My &lt;Best&gt;</title>", "</head>", "",
        "<body bgcolor=\"#000080\" link=\"#FFFFFF\" vlink=\"#FFFFFF\" alink=\"#FFFFFF\" text=\"#FFFFFF\">",
        "<p><b><font size=\"8\" face=\"Tahoma\" color=\"#FFFFFF\">My &lt;Best&gt;</font></b></p>",
        "<hr>",
        "<p><font size=\"2\" face=\"Tahoma\" color=\"#FFFFFF\">",
        "01.  Simon &amp; Garfunkel - &lt;Mrs. &quot;Robinson&quot;&gt;<br>",
        QStringLiteral("02.  Björk - Jóga<br>"),
        "<br>", "<hr>", "<br>", "Songs in playlist:  2<br>", "", "<p>&nbsp;</p>", "", "</body>", "", "</html>", ""};
    EXPECT_EQ(lines, expected);
}

TEST_F(ExportTest, EmptyHtmlAndColourNamesUnchanged)
{
    const QString path = home("empty.html");
    ASSERT_TRUE(playlistexport::writeHtml(playlist, path, "navy", "white"));
    const QString text = QString::fromUtf8(readFile(path));
    EXPECT_TRUE(text.contains(QStringLiteral("<body bgcolor=\"navy\" link=\"white\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("color=\"white\">\r\n<br>\r\n<hr>")));
    EXPECT_TRUE(text.contains(QStringLiteral("Songs in playlist:  0<br>")));
}

} // namespace
