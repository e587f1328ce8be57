// The lyrics window: which files open and close it, the video window, the close box, the
// saved size, keys passed to the main window, and the menu switch.
#include "player/PlaybackFixture.h"
#include "player/MainWindowFixture.h"

#include "common/modSettings.h"
#include "common/modWindows.h"
#include "library/FrmLyrics.h"
#include "player/FrmVideo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>

namespace {
class LyricsTest : public PlaybackTest {
protected:
    void SetUp() override
    {
        PlaybackTest::SetUp();
        main->mnuWindowsShowLyricsWhenAvailable->setChecked(true);
    }
    FrmLyrics& lyrics() { return forms().get<FrmLyrics>(); }
    // An MP3 whose tag holds these lyrics (none: no lyrics frame).
    QString lyricSong(const QString& name, const QString& text)
    {
        mp3maker::Song s;
        s.title = name;
        s.seconds = 0.2;
        if (!text.isEmpty()) s.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + text.toLatin1()});
        const QString path = home(QStringLiteral("Music/") + name);
        EXPECT_TRUE(mp3maker::makeMp3(path, s));
        return path;
    }
    void play(const QString& path)
    {
        main->playlist_AddSong(QStringLiteral("A"), QStringLiteral("T"), QString(), path);
        playRow(list().count());
    }
};
} // namespace

TEST_F(LyricsTest, SongsWithLyricsOpenItOnTopAndOthersCloseIt)
{
    play(lyricSong(QStringLiteral("one.MP3"), QStringLiteral("First line\r\nSecond line")));
    EXPECT_TRUE(lyrics().LyricsIsOpen);
    EXPECT_TRUE(lyrics().isVisible());
    EXPECT_TRUE(windows_IsAlwaysOnTop(&lyrics()));
    EXPECT_EQ(lyrics().txtLyrics->toPlainText(), QStringLiteral("First line\nSecond line"));
    EXPECT_TRUE(lyrics().txtLyrics->isReadOnly());

    play(lyricSong(QStringLiteral("plain.mp3"), QString()));
    EXPECT_FALSE(lyrics().LyricsIsOpen);
    EXPECT_TRUE(lyrics().isHidden());
    EXPECT_FALSE(windows_IsAlwaysOnTop(&lyrics()));

    play(lyricSong(QStringLiteral("two.mp3"), QStringLiteral("La la")));
    EXPECT_TRUE(lyrics().LyricsIsOpen);
    lyrics().lyrics_OpenFile(writeFile(QStringLiteral("Music/x.wma"), "wma"));
    EXPECT_FALSE(lyrics().LyricsIsOpen);

    play(lyricSong(QStringLiteral("three.mp3"), QStringLiteral("Again")));
    main->mnuStop_Click();
    EXPECT_FALSE(lyrics().LyricsIsOpen);
}

TEST_F(LyricsTest, VideoWindowOpenKeepsItClosed)
{
    forms().get<FrmVideo>().VideoIsOpen = true;
    lyrics().lyrics_OpenFile(lyricSong(QStringLiteral("one.mp3"), QStringLiteral("Words")));
    EXPECT_FALSE(lyrics().LyricsIsOpen);
    EXPECT_TRUE(lyrics().isHidden());
}

TEST_F(LyricsTest, CloseBoxChangesNothingAndKeysGoToTheMainWindow)
{
    lyrics().lyrics_OpenFile(lyricSong(QStringLiteral("one.mp3"), QStringLiteral("Words")));
    EXPECT_FALSE(lyrics().close());
    EXPECT_TRUE(lyrics().isVisible());
    EXPECT_TRUE(lyrics().LyricsIsOpen);

    // With the keys used as shortcuts, U pauses: once, however the key travels.
    main->WindowShown = true;
    main->mnuKeysUseAsShortcuts->setChecked(true);
    play(lyricSong(QStringLiteral("two.mp3"), QStringLiteral("More words")));
    tick();
    lyrics().txtLyrics->setFocus();
    QKeyEvent u(QEvent::KeyPress, Qt::Key_U, Qt::NoModifier, QStringLiteral("u"));
    QApplication::sendEvent(lyrics().txtLyrics, &u);
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::Paused);
}

TEST_F(LyricsTest, SizeIsKeptOnlyFromTheNormalState)
{
    lyrics().lyrics_GetSize();
    EXPECT_EQ(lyrics().size(), QSize(242, 257));   // 3630 x 3855 twips
    lyrics().resize(300, 200);
    lyrics().lyrics_SaveSize();
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Width")), QStringLiteral("4500"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Height")), QStringLiteral("3000"));
    lyrics().showMaximized();
    processEvents();
    main->window_SaveSettingsOnClose();
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Width")), QStringLiteral("4500"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Height")), QStringLiteral("3000"));
}

TEST_F(LyricsTest, MenuSwitchClosesAndReopensUnlessPaused)
{
    play(lyricSong(QStringLiteral("one.mp3"), QStringLiteral("Words")));
    ASSERT_TRUE(lyrics().LyricsIsOpen);
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    EXPECT_FALSE(main->mnuWindowsShowLyricsWhenAvailable->isChecked());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("ShowLyricsWhenAvailable")), QStringLiteral("0"));
    EXPECT_FALSE(lyrics().LyricsIsOpen);
    play(lyricSong(QStringLiteral("two.mp3"), QStringLiteral("More")));
    EXPECT_FALSE(lyrics().LyricsIsOpen);   // switched off

    main->mnuPause_Click();
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("ShowLyricsWhenAvailable")), QStringLiteral("1"));
    EXPECT_FALSE(lyrics().LyricsIsOpen);   // paused: not now
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    main->mnuPause_Click();   // playing again
    main->mnuWindowsShowLyricsWhenAvailable->trigger();
    EXPECT_TRUE(lyrics().LyricsIsOpen);
}
