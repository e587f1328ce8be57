#include "common/modSettings.h"
#include "platform/TextFile.h"
#include "support/TestEnv.h"

namespace {

class SettingsTest : public VeltraTest {
protected:
    QString ini() const { return home(QStringLiteral("settings.ini")); }
    void setIni(const QByteArray& bytes) { writeFile(QStringLiteral("settings.ini"), bytes); }
};

TEST_F(SettingsTest, ReadingRules)
{
    setIni("; VELTRA Settings:\r\n\r\n"
           "[Settings]\r\n"
           "Empty=\r\n"
           "Padded=  hello  \r\n"
           "Quoted=\"quoted value\"\r\n"
           "Single='single'\r\n"
           "Long=" + QByteArray(600, 'x') + "\r\n"
           "  Spaced Key  =  v  \r\n"
           "; Commented=1\r\n"
           "[other]\r\n"
           "Empty=not this one\r\n");
    // an existing empty value is empty, not the default
    EXPECT_EQ(settings_ReadValue("Settings", "Empty", "dflt"), QString());
    EXPECT_EQ(settings_ReadValue("Settings", "Missing", ""), QString());
    EXPECT_EQ(settings_ReadValue("Settings", "Missing", "1"), QStringLiteral("1"));
    EXPECT_EQ(settings_ReadValue("Settings", "Missing", 30), QStringLiteral("30"));
    EXPECT_EQ(settings_ReadValue("Settings", "Padded", ""), QStringLiteral("hello"));
    EXPECT_EQ(settings_ReadValue("Settings", "Quoted", ""), QStringLiteral("quoted value"));
    EXPECT_EQ(settings_ReadValue("Settings", "Single", ""), QStringLiteral("single"));
    EXPECT_EQ(settings_ReadValue("Settings", "Long", "").size(), 499);
    EXPECT_EQ(settings_ReadValue("Settings", "Spaced Key", ""), QStringLiteral("v"));
    EXPECT_EQ(settings_ReadValue("Settings", "Commented", "0"), QStringLiteral("0"));
    // names ignore case
    EXPECT_EQ(settings_ReadValue("SETTINGS", "padded", ""), QStringLiteral("hello"));
    EXPECT_EQ(settings_ReadValue("Other", "EMPTY", ""), QStringLiteral("not this one"));
}

TEST_F(SettingsTest, FlagsCompareNumerically)
{
    setIni("[Settings]\r\nA= 1 \r\nB=1.0\r\nC=yes\r\nD=0\r\n");
    EXPECT_TRUE(settings_ReadFlag("Settings", "A", "0"));
    EXPECT_TRUE(settings_ReadFlag("Settings", "B", "0"));
    EXPECT_FALSE(settings_ReadFlag("Settings", "C", "1"));
    EXPECT_FALSE(settings_ReadFlag("Settings", "D", "1"));
    EXPECT_TRUE(settings_ReadFlag("Settings", "Missing", "1"));
    EXPECT_DOUBLE_EQ(settings_ReadNumber("Settings", "Missing", 30), 30);
}

TEST_F(SettingsTest, MissingFileReadsDefaults)
{
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", "50"), QStringLiteral("50"));
    settings_SetPath(home("no/such/folder/settings.ini"));
    settings_WriteValue("Sound", "Volume", "10");   // lost without a message
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", "50"), QStringLiteral("50"));
    EXPECT_TRUE(ui.calls.isEmpty());
}

TEST_F(SettingsTest, WritingReplacesInPlaceAndAppends)
{
    setIni("; VELTRA Settings:\r\n\r\n[Sound]\r\nVolume=50\r\nBalance=50\r\n\r\n[Settings]\r\nAlwaysOnTop=0\r\n");
    settings_WriteValue("sound", "VOLUME", 75);
    settings_WriteValue("Sound", "Mute", "1");
    settings_WriteValue("Playback", "LastPlayed", "12");
    // a write is seen by the next read at once
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("75"));
    EXPECT_EQ(readFile(ini()),
              QByteArray("; VELTRA Settings:\r\n\r\n[Sound]\r\nVOLUME=75\r\nBalance=50\r\nMute=1\r\n\r\n"
                         "[Settings]\r\nAlwaysOnTop=0\r\n[Playback]\r\nLastPlayed=12\r\n"));
}

TEST_F(SettingsTest, EmptyFileGetsSectionAppended)
{
    setIni("");
    settings_WriteValue("VELTRA", "Version", "1.4");
    EXPECT_EQ(readFile(ini()), QByteArray("[VELTRA]\r\nVersion=1.4\r\n"));
}

TEST_F(SettingsTest, ValuesStayOneLine)
{
    settings_WriteValue("Settings", "DirectoryPath", "a\r\nb=c");
    settings_WriteValue("Settings", "Next", "x");
    EXPECT_EQ(settings_ReadValue("Settings", "DirectoryPath", ""), QStringLiteral("a  b=c"));
    EXPECT_EQ(settings_ReadValue("Settings", "Next", ""), QStringLiteral("x"));
}

TEST_F(SettingsTest, NonAsciiRoundTripsAsUtf8)
{
    const QString path = QStringLiteral("/music/Björk – Jóga/歌.mp3");
    settings_WriteValue("Settings", "LastDirectoryUsed", path);
    EXPECT_EQ(settings_ReadValue("Settings", "LastDirectoryUsed", ""), path);
    EXPECT_TRUE(textfile::isValidUtf8(readFile(ini())));
}

TEST_F(SettingsTest, Windows1252FileIsReadAndRewrittenWholeInUtf8)
{
    // "Beyoncé" and a euro sign as an older version wrote them
    setIni("[Settings]\r\nArtist=Beyonc\xE9\r\nPrice=\x80 5\r\n");
    EXPECT_EQ(settings_ReadValue("Settings", "Artist", ""), QStringLiteral("Beyoncé"));
    EXPECT_EQ(settings_ReadValue("Settings", "Price", ""), QStringLiteral("€ 5"));
    settings_WriteValue("Settings", "Other", "ü");
    const QByteArray bytes = readFile(ini());
    EXPECT_TRUE(textfile::isValidUtf8(bytes));
    EXPECT_EQ(bytes, QStringLiteral("[Settings]\r\nArtist=Beyoncé\r\nPrice=€ 5\r\nOther=ü\r\n").toUtf8());
}

TEST_F(SettingsTest, NumbersAndBooleansWrittenAsText)
{
    settings_WriteValue("Position_MainWindow", "Window_Top", 1234.5);
    settings_WriteValue("Position_MainWindow", "Window_left", 300.0);
    settings_WriteValue("Settings", "AlwaysOnTop", true);
    EXPECT_EQ(settings_ReadValue("Position_MainWindow", "Window_Top", ""), QStringLiteral("1234.5"));
    EXPECT_EQ(settings_ReadValue("Position_MainWindow", "Window_left", ""), QStringLiteral("300"));
    EXPECT_EQ(settings_ReadValue("Settings", "AlwaysOnTop", ""), QStringLiteral("1"));
}

} // namespace
