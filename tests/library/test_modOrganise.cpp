#include "library/modOrganise.h"

#include <gtest/gtest.h>

namespace {

struct PatternCase {
    const char* artist;
    const char* title;
    const char* album;
    int pattern;
    bool numbered;
    int position;
    const char* source;
    const char* expected;
    const char* missing = "";   // the field the song keeps its name for
};

const PatternCase kPatternCases[] = {
    {"Band", "Song", "LP", 0, true, 7, "/m/x.mp3", "07 - Band - Song.mp3"},
    {"Band", "Song", "LP", 0, true, 123, "/m/x.mp3", "123 - Band - Song.mp3"},
    {"Band", "Song", "LP", 0, false, 7, "/m/x.mp3", "Band - Song.mp3"},
    {"", "Song", "LP", 0, false, 1, "/m/x.mp3", "", "Artist"},   // an empty value keeps the old name
    {"", "Song", "LP", 0, true, 3, "/m/x.mp3", "", "Artist"},
    {"Band", "Song", "", 2, false, 1, "/m/x.mp3", "", "Album"},
    {"Band", "  ", "LP", 1, false, 1, "/m/x.mp3", "", "Title"},
    {" Band ", "Song\t ", "", 0, false, 1, "/m/x.mp3", "Band - Song.mp3"},   // no blank at either end
    {". Band", "Song", "", 0, false, 1, "/m/x.mp3", "Band - Song.mp3"},
    {"Band", "Song", "LP", 1, false, 1, "/m/x.mp3", "Song - Band.mp3"},
    {"Band", "Song", "LP", 2, false, 1, "/m/x.mp3", "Band - LP - Song.mp3"},
    {"Band", "Song", "LP", 3, false, 1, "/m/x.mp3", "Band - Song - LP.mp3"},
    {"Band", "Song", "LP", 4, false, 1, "/m/x.mp3", "Song - Band - LP.mp3"},
    {"Band", "Song", "LP", 5, true, 1, "/m/x.mp3", "01 - LP - Band - Song.mp3"},
    {"Band", "Song", "LP", 6, false, 1, "/m/x.mp3", "LP - Song - Band.mp3"},
    {"Band", "Song", "LP", 7, true, 1, "/m/x.mp3", ""},
    {"Band", "Song", "LP", -1, false, 1, "/m/x.mp3", ""},
    {"Band", "Song", "", 0, false, 1, "/m/SONG.MP3", "Band - Song.mp3"},          // extension lower-cased
    {"Band", "Song", "", 0, false, 1, "/m.v2/a.b.Mp2", "Band - Song.mp2"},        // the file name's last "."
    {"Rock/Pop", "A:B*C?", "", 0, false, 1, "/m/x.mp3", "RockPop - ABC.mp3"},
    {"\\\"<>|Band", "Mr. Blue  Sky", "", 0, false, 1, "/m/x.mp3", "Band - Mr. Blue  Sky.mp3"},   // blanks and dots stay
    {"\\\"<>|", "Song", "", 0, false, 1, "/m/x.mp3", "", "Artist"},   // nothing a name may hold
    {"Line\none", "Tab\tbed\x7f", "", 0, false, 1, "/m/x.mp3", "Lineone - Tabbed.mp3"},
    {"...And Co.", "Song", "", 0, false, 1, "/m/x.mp3", "And Co. - Song.mp3"},   // no hidden file
    {".", "Song", "", 0, false, 1, "/m/x.mp3", "", "Artist"},
    {"/.Band", "Song", "", 0, true, 1, "/m/x.mp3", "01 - .Band - Song.mp3"},
};

TEST(OrganisePattern, BuildsNamesFromTags)
{
    for (const PatternCase& c : kPatternCases) {
        QString missing = QStringLiteral("stale");
        EXPECT_EQ(organise::patternName(QString::fromUtf8(c.artist), QString::fromUtf8(c.title), QString::fromUtf8(c.album),
                                        c.pattern, c.numbered, c.position, QString::fromUtf8(c.source), &missing),
                  QString::fromUtf8(c.expected))
            << "pattern " << c.pattern << " artist " << c.artist;
        EXPECT_EQ(missing, QString::fromUtf8(c.missing)) << "pattern " << c.pattern << " artist " << c.artist;
    }
}

TEST(OrganisePattern, CaptionsAndCharacters)
{
    const QStringList& captions = organise::patternCaptions();
    ASSERT_EQ(captions.size(), 7);
    EXPECT_EQ(captions[0], QStringLiteral("1.  Artist - Title"));
    EXPECT_EQ(captions[6], QStringLiteral("7.  Album - Title - Artist"));

    for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a\nb", "a\x01" "b", "a\x7f"})
        EXPECT_TRUE(organise::hasUnsupportedCharacter(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(organise::hasUnsupportedCharacter(QString(QChar(0))));
    for (const char* good : {"07 - Band - Song.mp3", "Mr. Blue  Sky (live) [1978] #1, & more!.mp3", "Ünïcödé ♪.mp3"})
        EXPECT_FALSE(organise::hasUnsupportedCharacter(QString::fromUtf8(good))) << good;

    EXPECT_TRUE(organise::isMpegAudio(QStringLiteral("/m/a.MP3")));
    EXPECT_TRUE(organise::isMpegAudio(QStringLiteral("/m/a.mp1")));
    EXPECT_FALSE(organise::isMpegAudio(QStringLiteral("/m/a.wav")));
    EXPECT_FALSE(organise::isMpegAudio(QStringLiteral("/m.mp3/noext")));
    EXPECT_EQ(organise::folderWithSeparator(QStringLiteral("/m/a.mp3")), QStringLiteral("/m/"));
    EXPECT_EQ(organise::folderWithSeparator(QStringLiteral("/a.mp3")), QStringLiteral("/"));
}

} // namespace
