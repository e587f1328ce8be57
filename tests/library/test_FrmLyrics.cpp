// The lyrics window: which files open and close it, the video window, the close box, keys
// passed to the main window, the saved size, and the menu switch.
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "library/FrmLyrics.h"
#include "player/FrmVideo.h"
#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/PlaybackFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace {
class LyricsTest : public PlaybackTest {
protected:
    void SetUp() override
    {
        PlaybackTest::SetUp();
        main->mnuWindowsShowLyricsWhenAvailable->setChecked(true);
    }
    FrmLyrics& lyrics() { return forms().get<FrmLyrics>(); }
    // Plays an MP3 whose tag holds these lyrics (none: no lyrics frame).
    void play(const QString& name, const QByteArray& text = {})
    {
        mp3maker::Song s;
        s.seconds = 0.2;
        if (!text.isEmpty()) s.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + text});
        ASSERT_TRUE(mp3maker::makeMp3(home("Music/" + name), s));
        main->playlist_AddSong("A", "T", QString(), home("Music/" + name));
        playRow(list().count());
    }
};
} // namespace

TEST_F(LyricsTest, SongsWithLyricsOpenItOnTopAndOthersCloseIt)
{
    play("one.MP3", "First line\r\nSecond line");
    EXPECT_TRUE(lyrics().LyricsIsOpen);
    EXPECT_TRUE(lyrics().isVisible());
    EXPECT_TRUE(windows_IsAlwaysOnTop(&lyrics()));
    EXPECT_EQ(lyrics().txtLyrics->toPlainText(), "First line\nSecond line");
    EXPECT_TRUE(lyrics().txtLyrics->isReadOnly());

    play("plain.mp3");
    EXPECT_FALSE(lyrics().LyricsIsOpen);
    EXPECT_TRUE(lyrics().isHidden());
    EXPECT_FALSE(windows_IsAlwaysOnTop(&lyrics()));

    play("two.mp3", "La la");
    lyrics().lyrics_OpenFile(writeFile("Music/x.wma", "wma"));
    EXPECT_FALSE(lyrics().LyricsIsOpen);
    play("three.mp3", "Again");
    main->mnuStop_Click();
    EXPECT_FALSE(lyrics().LyricsIsOpen);

    forms().get<FrmVideo>().VideoIsOpen = true;
    lyrics().lyrics_OpenFile(file(list().count()));
    EXPECT_FALSE(lyrics().LyricsIsOpen);   // not over a video
}

// A line far longer than any verse is shown in pieces the box wraps at once, a verse's
// pieces ending at a blank; no character is lost.
TEST_F(LyricsTest, AnOverlongLineIsShownInPiecesWithNothingLost)
{
    const QByteArray word(10000, 'w');
    const QByteArray verse = QByteArray("la ").repeated(3000);
    play("long.mp3", word + "\r\n" + verse);
    ASSERT_TRUE(lyrics().LyricsIsOpen);
    const QTextDocument* text = lyrics().txtLyrics->document();
    int longest = 0;
    for (QTextBlock b = text->begin(); b.isValid(); b = b.next()) longest = std::max(longest, int(b.text().size()));
    EXPECT_LE(longest, 4000);
    EXPECT_TRUE(text->findBlockByNumber(3).text().endsWith(u' '));
    EXPECT_EQ(lyrics().txtLyrics->toPlainText().remove(u'\n'), QString::fromLatin1(word + verse));
}

TEST_F(LyricsTest, CloseBoxChangesNothingAndKeysGoToTheMainWindowOnce)
{
    play("one.mp3", "Words");
    EXPECT_FALSE(lyrics().close());
    EXPECT_TRUE(lyrics().isVisible());
    EXPECT_TRUE(lyrics().LyricsIsOpen);

    // With the keys used as shortcuts, U pauses: once, however the key travels.
    main->WindowShown = true;
    main->mnuKeysUseAsShortcuts->setChecked(true);
    QKeyEvent u(QEvent::KeyPress, Qt::Key_U, Qt::NoModifier, "u");
    QApplication::sendEvent(lyrics().txtLyrics, &u);
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Paused);
}

TEST_F(LyricsTest, SizeIsKeptOnlyFromTheNormalState)
{
    lyrics().lyrics_GetSize();
    EXPECT_EQ(lyrics().size(), QSize(242, 257));   // 3630 x 3855 twips
    lyrics().resize(300, 200);
    lyrics().lyrics_SaveSize();
    lyrics().showMaximized();
    processEvents();
    main->window_SaveSettingsOnClose();
    EXPECT_EQ(settings_ReadValue("Lyrics", "Width"), "4500");
    EXPECT_EQ(settings_ReadValue("Lyrics", "Height"), "3000");
}

TEST_F(LyricsTest, MenuSwitchClosesAndReopensPlayingOrPaused)
{
    play("one.mp3", "Words");
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    EXPECT_FALSE(main->mnuWindowsShowLyricsWhenAvailable->isChecked());
    EXPECT_EQ(settings_ReadValue("Settings", "ShowLyricsWhenAvailable"), "0");
    EXPECT_FALSE(lyrics().LyricsIsOpen);
    play("two.mp3", "More");
    EXPECT_FALSE(lyrics().LyricsIsOpen);   // switched off

    main->mnuPause_Click();
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    EXPECT_EQ(settings_ReadValue("Settings", "ShowLyricsWhenAvailable"), "1");
    EXPECT_TRUE(lyrics().LyricsIsOpen);   // paused: the loaded song's
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    EXPECT_FALSE(lyrics().LyricsIsOpen);
    main->mnuPause_Click();   // playing again
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    EXPECT_TRUE(lyrics().LyricsIsOpen);
}
