// The real program under each window manager, with another program's window behind it: a box
// or dialog that the window manager minimised (its frame's minimise button) comes straight
// back, since the program waits for its answer, and comes back with the keyboard: it is the
// active window again, the focus where it was, and the keys typed next reach it, not the
// program behind.
#include "support/Mp3Maker.h"
// After the above: Xlib's macros would clash with their names.
#include "e2e/DesktopFixture.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
namespace {

using desktop::WindowManager;
using desktopsession::Screen;
using desktopsession::waitFor;

class MinimisedDialogs : public desktopsession::Desktop, public ::testing::WithParamInterface<WindowManager> {
protected:
    MinimisedDialogs() { windowManager = GetParam(); }
};

TEST_P(MinimisedDialogs, ComeBackWithTheKeyboard)
{
    Screen& s = *screen;
    const Window other = s.mapOtherWindow();
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("Artist"), .title = QStringLiteral("Quokka"), .seconds = 120, .id3v1 = true}));
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Playlists")));
    const QString stored = home.filePath(QStringLiteral("Playlists/Mine.spp"));
    ASSERT_TRUE(mp3maker::writeBytes(stored, "\"01\"\r\n\"Artist\"\r\n\"Quokka\"\r\n\"2000\"\r\n\"Play\"\r\n\"02:00\"\r\n\"" + song.toUtf8() + "\"\r\n"));
    // Jump To Media plays the song it selects.
    ASSERT_TRUE(startOnDesktop("[Settings]\r\nRememberTheConsoleLogs=1\r\n"
                               "[JumpToMedia]\r\nOptionSelectSong=0\r\nOptionSelectSongAndPlayIt=1\r\n",
                               {song}))
        << player.readAll().constData();
    const auto log = [&] { return mp3maker::readBytes(home.filePath(QStringLiteral("console.log"))); };

    qsizetype played = 0;
    Typist keys(server.display());
    const auto type = [&](std::initializer_list<KeySym> path) {
        for (KeySym k : path) {
            keys.tap(k);
            QThread::msleep(150);
        }
    };
    const struct {
        const char* what;
        const char* title;
        std::function<void()> bringUp;
        std::function<void()> answer;      // keys typed into it once it is back
        std::function<bool()> answered;    // what those keys did
    } windows[] = {
        {"Jump To Media", "Jump To Media",
         [&] {
             ASSERT_TRUE(focusMain());
             played = log().count("Played ");
             keys.tap(XK_j);
         },
         // Find, then Select before a hit is chosen: the box that asks for one puts the
         // focus on the hits, where Space chooses the one and Enter plays it.
         [&] {
             type({XK_q, XK_u, XK_o, XK_k, XK_k, XK_a, XK_Return});
             QThread::msleep(500);
             type({XK_Return});
             Window box = 0;
             if (!waitFor([&] { return (box = s.managed("Jumping To Song Error")) && s.active() == box; }, 10000)) {
                 ADD_FAILURE() << "the search found nothing, or Select was not the default";
                 return;
             }
             type({XK_Return});
             if (!waitFor([&] { return !s.managed("Jumping To Song Error"); }, 10000)) return;
             QThread::msleep(500);
             type({XK_space, XK_Return});
         },
         [&] { return log().count("Played ") == played + 1; }},
        {"a message box", "Delete All Playlists Confirmation",
         [&] {
             ASSERT_TRUE(focusMain());
             keys.down(XK_Alt_L);
             keys.tap(XK_a);
             keys.up(XK_Alt_L);
             ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the Arrange menu did not open";
             type({XK_p, XK_a});
         },
         [&] { type({XK_n}); },
         [&] { return !s.managed("Delete All Playlists Confirmation") && QFile::exists(stored); }},
        {"About from the tray", "About VELTRA...",
         [&] {
             askToClose(s.x(), main);
             ASSERT_TRUE(waitFor([&] { return s.inTray(main); }, 10000)) << "the close box did not hide the window";
             s.click(icon, 3);
             ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the tray menu did not open";
             QThread::msleep(300);
             keys.tap(XK_b);
         },
         [&] { type({XK_Escape}); },
         [&] { return !s.managed("About VELTRA..."); }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.what);
        w.bringUp();
        if (HasFatalFailure()) return;
        Window shown = 0;
        ASSERT_TRUE(waitFor([&] { return (shown = s.managed(w.title)) && s.shownNormally(shown) && s.active() == shown; }, 20000))
            << "it did not open with the focus";
        ASSERT_TRUE(s.caughtUp(shown)) << "the program does not answer";
        const bool mainShown = s.shownNormally(main);
        // The user goes to the other program a while and comes back: a box that was not
        // minimised leaves the focus where the user put it.
        s.activate(other);
        ASSERT_TRUE(waitFor([&] { return s.active() == other; }, 10000));
        QThread::msleep(1000);
        EXPECT_EQ(s.active(), other) << "it took the focus back from the program the user went to";
        s.activate(shown);
        ASSERT_TRUE(waitFor([&] { return s.active() == shown; }, 10000));
        QThread::msleep(300);

        // Minimised as its frame's button does it: the window manager unmaps it. One that offers
        // no minimise for a box (mutter keeps a modal box with the window it belongs to) leaves
        // nothing to come back from.
        const bool minimisable = s.allows(shown, "_NET_WM_ACTION_MINIMIZE");
        if (minimisable) {
            ASSERT_TRUE(s.minimise(shown, 10000)) << "the window manager did not minimise it";
        }
        ASSERT_TRUE(waitFor([&] { return s.shownNormally(shown); }, 10000)) << "left minimised";
        EXPECT_TRUE(waitFor([&] { return s.active() == shown; }, 5000))
            << "back without the focus: the active window is " << (s.active() == other ? "the other program's" : "another");
        EXPECT_TRUE(waitFor([&] { return s.shownNormally(main) == mainShown; }, 5000)) << "the main window did not come back as it was";

        w.answer();
        EXPECT_TRUE(waitFor(w.answered, 10000)) << "the keys did not reach it";
        if (s.managed(w.title)) {
            askToClose(s.x(), shown);
            ASSERT_TRUE(waitFor([&] { return !s.managed(w.title); }, 10000));
        }
    }
    EXPECT_TRUE(s.inTray(main));
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

INSTANTIATE_TEST_SUITE_P(, MinimisedDialogs,
                         ::testing::Values(WindowManager::Openbox, WindowManager::Xfwm4, WindowManager::KWin, WindowManager::Mutter),
                         desktop::name);

} // namespace

#endif // VELTRA_HAVE_XVFB_SESSION
