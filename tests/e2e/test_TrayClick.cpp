// The real program under each window manager (openbox, xfwm4, kwin_x11, mutter) with a real
// notification area (trayer): the close box hides the window to the tray, and one left click on the icon brings
// it back, normal, in front and with the focus, every time; a maximised window comes back
// maximised and laid out as maximised. Every window and box carries the program's icon; the
// dialogs and boxes of fixed size can be neither maximised nor left minimised.
#include "support/GeneratedMedia.h"
#include "support/Mp3Maker.h"
// After the above: Xlib's macros would clash with their names.
#include "e2e/DesktopFixture.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
#include <X11/XKBlib.h>

namespace {

using desktopsession::Screen;
using desktopsession::waitFor;

using desktop::WindowManager;

// Under each window manager, with trayer.
class TrayClick : public desktopsession::Desktop, public ::testing::WithParamInterface<WindowManager> {
protected:
    TrayClick() { windowManager = GetParam(); }
};

// The playlist's own colour (magenta, as the settings write it), which only the playlist and
// the playlists box show.
constexpr unsigned long kListRgb = 0xff00ff;
constexpr const char* kListColourSettings = "[Appearance]\r\nBackgroundColour=16711935\r\n";

TEST_P(TrayClick, OneLeftClickOnTheIconBringsTheClosedWindowBackEveryTime)
{
    Screen& s = *screen;
    const Window other = s.mapOtherWindow();
    ASSERT_TRUE(startOnDesktop(kListColourSettings)) << player.readAll().constData();

    // Closed and brought back: with the window manager's round trips in between, as a user
    // does it, not faster than a double click.
    const auto closeAndClickOnce = [&](int round) {
        SCOPED_TRACE(round);
        askToClose(s.x(), main);
        ASSERT_TRUE(waitFor([&] { return s.inTray(main); }, 10000)) << "the close box did not hide the window";
        ASSERT_TRUE(waitFor([&] { return s.active() == other; }, 10000)) << "the other window did not get the focus";
        QThread::msleep(600);   // past the double-click time: the next click is a single one
        s.click(icon);
        ASSERT_TRUE(waitFor([&] { return s.shownNormally(main); }, 10000))
            << "one click left the window away: viewable " << s.state(main).viewable << ", WM_STATE " << s.state(main).wmState
            << ", hidden " << s.state(main).hidden;
        EXPECT_TRUE(waitFor([&] { return s.active() == main && s.above(main, other); }, 10000))
            << "back, but behind the other window or without the focus";
    };
    for (int round = 1; round <= 10; ++round) {
        closeAndClickOnce(round);
        if (HasFatalFailure()) return;
    }

    // A maximised window that was away comes back maximised and laid out as after a plain
    // maximise: the playlist reaches the right edge and the status bar, with no band of bare
    // window. Away in the tray, or minimised while the window manager maximised it (the size
    // then changes while the window counts as minimised).
    s.maximise(main);
    ASSERT_TRUE(waitFor([&] { return s.state(main).maximised; }, 10000));
    QRect maximisedList;
    ASSERT_TRUE(waitFor([&] { return (maximisedList = s.colourBox(main, kListRgb)).right() >= s.width(main) - 4; }, 10000))
        << "maximised, the playlist covers " << maximisedList.width() << "x" << maximisedList.height();
    const struct {
        const char* how;
        std::function<void()> awayAndBack;
    } comebacks[] = {
        {"from the tray", [&] { closeAndClickOnce(11); }},
        {"maximised while minimised",
         [&] {
             s.maximise(main, false);
             ASSERT_TRUE(waitFor([&] { return !s.state(main).maximised; }, 10000));
             XIconifyWindow(s.x(), main, DefaultScreen(s.x()));
             ASSERT_TRUE(waitFor([&] { return s.state(main).wmState == IconicState; }, 10000));
             s.maximise(main);
             ASSERT_TRUE(waitFor([&] { return s.state(main).maximised; }, 10000));
             s.activate(main);
             ASSERT_TRUE(waitFor([&] { return s.shownNormally(main); }, 10000));
         }},
    };
    for (const auto& comeback : comebacks) {
        SCOPED_TRACE(comeback.how);
        comeback.awayAndBack();
        if (HasFatalFailure()) return;
        EXPECT_TRUE(waitFor([&] { return s.state(main).maximised; }, 10000));
        QRect list;
        EXPECT_TRUE(waitFor([&] { return (list = s.colourBox(main, kListRgb)) == maximisedList; }, 10000))
            << "back, the playlist covers " << list.width() << "x" << list.height() << ", not " << maximisedList.width() << "x"
            << maximisedList.height();
    }

    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// A Return press whose release never reaches the program: it answers the "Song/Video Already In
// Mood" box, then stays down while the box is gone and the focus goes to another program and
// back, the desktop repeating it all the while. Clicks on rows then only select them, nothing
// plays on its own, and the item under the pointer in the File menu is not picked: the playlist
// is kept. Once the key came up in the other program, a real press plays the selected row, once.
TEST_P(TrayClick, AReturnWhoseReleaseNeverCameRunsNothingMore)
{
    Screen& s = *screen;
    QStringList songs;
    for (int i = 1; i <= 3; ++i) {
        songs << home.filePath(QStringLiteral("song%1.mp3").arg(i));
        ASSERT_TRUE(mp3maker::makeMp3(songs.last(), {.artist = QStringLiteral("Artist%1").arg(i), .title = QStringLiteral("Title%1").arg(i), .seconds = 120, .id3v1 = true}));
    }
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("Moods"))));
    ASSERT_TRUE(mp3maker::writeBytes(home.filePath(QStringLiteral("Moods/Happy.mlst")), QFile::encodeName(songs[0]) + "\r\n"));
    ASSERT_TRUE(startOnDesktop(QByteArray(kListColourSettings) + "[Settings]\r\nRememberTheConsoleLogs=1\r\n", songs))
        << player.readAll().constData();
    const auto log = [&] { return mp3maker::readBytes(home.filePath(QStringLiteral("console.log"))); };

    // The rows, as the screen shows them: the playlist's colour around them, the selected row a
    // band of another colour across the list's left edge (row 1 at the start, as it plays).
    const auto selectedBand = [&] {
        const QRect list = s.colourBox(main, kListRgb);
        std::pair<int, int> band{0, 0};
        XImage* image = list.isEmpty() ? nullptr : XGetImage(s.x(), main, list.left() + 1, list.top(), 1, unsigned(list.height()), AllPlanes, ZPixmap);
        if (!image) return band;
        for (int y = 0; y < list.height(); ++y) {
            const bool selected = (XGetPixel(image, 0, y) & 0xffffff) != kListRgb;
            if (selected && band.second == 0) band = {list.top() + y, list.top() + y + 1};
            else if (selected && band.second == list.top() + y) ++band.second;
        }
        XDestroyImage(image);
        return band;
    };
    std::pair<int, int> first;
    ASSERT_TRUE(waitFor([&] { return (first = selectedBand()).second > first.first; }, 10000)) << "no row selected";
    const int rowHeight = first.second - first.first;
    const auto rowTop = [&](int row) { return first.first + (row - 1) * rowHeight; };
    Typist keys(server.display());
    const auto pointAt = [&](int x, int y) {
        XTestFakeMotionEvent(s.x(), -1, x, y, CurrentTime);
        XSync(s.x(), False);
    };
    const auto clickAt = [&](int windowX, int windowY) {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(s.x(), main, s.root(), windowX, windowY, &x, &y, &child);
        pointAt(x, y);
        XTestFakeButtonEvent(s.x(), 1, True, CurrentTime);
        XTestFakeButtonEvent(s.x(), 1, False, CurrentTime);
        XSync(s.x(), False);
    };
    const auto clickRow = [&](int row) {
        clickAt(s.colourBox(main, kListRgb).center().x(), rowTop(row) + rowHeight / 2);
        EXPECT_TRUE(waitFor([&] { return selectedBand().first == rowTop(row); }, 5000)) << "row " << row << " was not selected";
        QThread::msleep(600);   // the next click is a single one
    };
    const auto focusOn = [&](Window w) {
        s.activate(w);
        ASSERT_TRUE(waitFor([&] { return s.active() == w; }, 10000));
        QThread::msleep(300);
    };

    focusOn(main);
    clickRow(1);
    keys.tap(XK_Menu);   // the playlist menu: Send To, Mood, Happy
    ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the playlist menu did not open";
    for (KeySym k : {XK_e, XK_m, XK_Down, XK_Return}) {
        keys.tap(k);
        QThread::msleep(200);
    }
    Window box = 0;
    ASSERT_TRUE(waitFor([&] { return (box = s.managed("Song/Video Already In Mood")) && s.active() == box; }, 10000));
    const qsizetype played = log().count("Played ");

    keys.down(XK_Return);
    EXPECT_TRUE(waitFor([&] { return !s.managed("Song/Video Already In Mood"); }, 10000)) << "Return did not answer the box";
    const Window other = s.mapOtherWindow();
    focusOn(other);
    focusOn(main);
    clickRow(2);
    clickRow(3);
    // The File menu opened with the mouse (another key would end the desktop's repeat), the
    // pointer resting on its first item, New.
    clickAt(16, 8);   // the menu bar's first title
    Window menu = 0;
    XWindowAttributes at {};
    EXPECT_TRUE(waitFor([&] { return (menu = s.menuShown()) && XGetWindowAttributes(s.x(), menu, &at); }, 5000))
        << "the File menu did not open";
    {
        // The pointer rests on New while the desktop goes on repeating the key into the menu.
        KeyPresses repeats(server.display(), main, keys.keycode(XK_Return));
        pointAt(at.x + 30, at.y + 8);
        pointAt(at.x + 40, at.y + 12);
        EXPECT_TRUE(waitFor([&] { return repeats.count() >= 10; }, 30000)) << "only " << repeats.count() << " repeats";
    }
    keys.tap(XK_Escape);
    EXPECT_TRUE(s.caughtUp(main)) << "the program does not answer";
    EXPECT_EQ(log().count("Played "), played) << "rows played with the key held";
    EXPECT_FALSE(log().contains("Playlist cleared.")) << "the held key picked File > New";

    focusOn(other);
    keys.up(XK_Return);   // to the other program
    focusOn(main);
    clickRow(2);
    keys.tap(XK_Return);
    EXPECT_TRUE(waitFor([&] { return log().count("Played ") == played + 1; }, 10000)) << "a real press after the key came up did not play";
    EXPECT_TRUE(s.caughtUp(main)) << "the program does not answer";
    EXPECT_EQ(log().count("Played "), played + 1);
    EXPECT_TRUE(log().contains("Played Artist2 - Title2.\r\n")) << log().constData();

    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
    const QByteArray saved = mp3maker::readBytes(home.filePath(QStringLiteral("Playlists/default.spp")));
    for (const QString& song : songs) EXPECT_TRUE(saved.contains(QFile::encodeName(song))) << saved.constData();
}

// Esc closes the File menu, the menu bar keeping the keyboard, and Esc pressed again at once
// gives it back. The release between the two comes in the same millisecond as the second press,
// which the platform takes for the desktop repeating the key: it is never seen as a release.
// Down then moves in the playlist and opens no menu.
TEST_P(TrayClick, EscAgainAtOnceAfterItClosedAMenuIsAPressOfItsOwn)
{
    Screen& s = *screen;
    ASSERT_TRUE(startOnDesktop("")) << player.readAll().constData();
    menu({XK_f});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(s.caughtUp(main)) << "the program does not answer";
    Typist keys(server.display());
    keys.down(XK_Escape);
    ASSERT_TRUE(waitFor([&] { return !s.menuShown(); }, 5000)) << "Esc did not close the menu";
    for (const Bool down : {False, True, False}) XTestFakeKeyEvent(s.x(), keys.keycode(XK_Escape), down, CurrentTime);
    XSync(s.x(), False);
    keys.tap(XK_Down);
    EXPECT_TRUE(s.caughtUp(main)) << "the program does not answer";
    EXPECT_FALSE(s.menuShown()) << "the menu bar kept the keyboard: the second Esc was taken for the first one held";
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// The text of the clipboard, as another program pastes it (empty when nobody offers one).
QString clipboardText(Display* x)
{
    const Window own = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, 0, 0);
    const Atom into = XInternAtom(x, "VELTRA_TEST_PASTE", False), utf8 = XInternAtom(x, "UTF8_STRING", False);
    XConvertSelection(x, XInternAtom(x, "CLIPBOARD", False), utf8, into, own, CurrentTime);
    XFlush(x);
    XEvent e {};
    const bool answered = waitFor([&] { return XCheckTypedWindowEvent(x, own, SelectionNotify, &e); }, 5000);
    QString text;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (answered && e.xselection.property != None
        && XGetWindowProperty(x, own, into, 0, 1 << 16, True, AnyPropertyType, &type, &format, &count, &after, &data) == Success && data)
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
    if (data) XFree(data);
    XDestroyWindow(x, own);
    return text;
}

// A key held down repeats as the desktop repeats it (here its own: 660 ms, then 25 a second)
// in the window its press went to: every press the program is sent runs the command again or
// types on in the text field. Its repeats reach no other window: J held opens Jump To Media
// once and types nothing into it. A key is held until the program was sent the presses asked
// for, however busy the machine, and what they did is counted once it has handled them all.
TEST_P(TrayClick, AKeyHeldRepeatsInTheWindowItsPressWentToAndNowhereElse)
{
    Screen& s = *screen;
    QStringList songs;
    for (int i = 1; i <= 30; ++i) {
        songs << home.filePath(QStringLiteral("song%1.mp3").arg(i, 2, 10, QChar(u'0')));
        ASSERT_TRUE(mp3maker::makeMp3(songs.last(), {.artist = QStringLiteral("Artist%1").arg(i), .title = QStringLiteral("Title%1").arg(i),
                                                     .seconds = 40, .bitrate = 32, .id3v1 = true}));
    }
    ASSERT_TRUE(startOnDesktop("[Settings]\r\nRememberTheConsoleLogs=1\r\n", songs)) << player.readAll().constData();
    XAutoRepeatOn(s.x());
    ASSERT_TRUE(XkbSetAutoRepeatRate(s.x(), XkbUseCoreKbd, 660, 40));
    XSync(s.x(), False);
    const auto played = [&] { return mp3maker::readBytes(home.filePath(QStringLiteral("console.log"))).count("Played "); };

    Typist keys(server.display());
    // The first press and the desktop's repeats of it that the program is sent while the key is
    // held: enough to tell repeating from a press or two.
    constexpr int kPresses = 9;
    int sent = 0;
    const auto hold = [&](std::initializer_list<KeySym> modifiers, KeySym key) {
        KeyPresses presses(server.display(), main, keys.keycode(key));
        ASSERT_TRUE(presses.usable()) << "the X server does not record what it sends";
        for (KeySym m : modifiers) keys.down(m);
        keys.down(key);
        EXPECT_TRUE(waitFor([&] { return presses.count() >= kPresses; }, 30000)) << "the key did not repeat: " << presses.count() << " presses";
        keys.up(key);
        for (KeySym m : modifiers) keys.up(m);
        sent = presses.count();
        ASSERT_TRUE(s.caughtUp(main)) << "the program does not answer";
    };
    const auto dialog = [&](const char* title) {
        Window w = 0;
        EXPECT_TRUE(waitFor([&] { return (w = s.managed(title)) && s.active() == w; }, 10000)) << title << " did not open";
        EXPECT_TRUE(s.caughtUp(main)) << "the program does not answer";
        return w;
    };
    // The text of the field with the focus, copied as a user copies it (nothing copies an
    // empty field).
    const auto fieldText = [&] {
        XSetSelectionOwner(s.x(), s.atom("CLIPBOARD"), None, CurrentTime);
        XSync(s.x(), False);
        keys.down(XK_Control_L);
        keys.tap(XK_a);
        keys.tap(XK_c);
        keys.up(XK_Control_L);
        EXPECT_TRUE(s.caughtUp(main)) << "the program does not answer";
        return clipboardText(s.x());
    };
    const auto closeDialog = [&](const char* title) {
        keys.tap(XK_Escape);
        EXPECT_TRUE(waitFor([&] { return !s.managed(title); }, 10000)) << title << " did not close";
    };
    // How often the letter stands in the dialog's field, which is then closed.
    const auto typedInto = [&](const char* title, QChar letter) {
        return std::function<int()>([&fieldText, &closeDialog, title, letter] {
            const QString typed = fieldText();
            closeDialog(title);
            return int(typed.count(letter));
        });
    };
    qsizetype before = 0;
    constexpr int kEveryPress = -1;   // as often as the key was pressed and repeated
    const struct {
        const char* what;
        std::function<void()> prepare;   // the window and the state the key is held in
        std::function<void()> holdKey;
        std::function<int()> count;   // what the key did
        int least, most;
    } cases[] = {
        {"J in the main window: Jump To Media, nothing typed in it", [&] { ASSERT_TRUE(focusMain()); }, [&] { hold({}, XK_j); },
         [&] {
             dialog("Jump To Media");
             const int typed = int(fieldText().size());
             closeDialog("Jump To Media");
             return typed;
         },
         0, 0},
        {"a letter in Jump To Media's search box",
         [&] {
             ASSERT_TRUE(focusMain());
             keys.tap(XK_j);
             dialog("Jump To Media");
         },
         [&] { hold({}, XK_a); }, typedInto("Jump To Media", u'a'), kEveryPress, kEveryPress},
        {"a letter in Add Location's folder box",
         [&] {
             menu({XK_f, XK_l});
             dialog("Add Location");
         },
         [&] { hold({}, XK_b); }, typedInto("Add Location", u'b'), kEveryPress, kEveryPress},
        // The song played is 40 seconds long: stepped 5 seconds at a time to its last
        // seconds, it ends at once and the next one plays. F is held until then (one step
        // would leave it playing for half a minute), as long as the player takes to open it.
        {"F: the playing song forward, step after step",
         [&] {
             ASSERT_TRUE(focusMain());
             before = played();
             keys.tap(XK_p);
             ASSERT_TRUE(waitFor([&] { return played() > before; }, 10000)) << "P played nothing";
             before = played();
         },
         [&] {
             keys.down(XK_f);
             EXPECT_TRUE(waitFor([&] { return played() > before; }, 30000)) << "F held did not reach the song's end";
             keys.up(XK_f);
             ASSERT_TRUE(s.caughtUp(main)) << "the program does not answer";
         },
         [&] { return int(played() - before); }, 1, 30},
        {"N: the next song, again and again", [&] { before = played(); }, [&] { hold({}, XK_n); },
         [&] {
             waitFor([&] { return played() - before >= sent; }, 10000);
             return int(played() - before);
         },
         kEveryPress, kEveryPress},
        {"Alt+Down: the selected song down, place after place",
         [&] {
             ASSERT_TRUE(focusMain());
             keys.tap(XK_s);
             // Into the playlist. The window manager may hold the click back a while (openbox
             // does, to focus the window first), and the keys typed meanwhile come before it.
             s.click(main);
             ASSERT_TRUE(s.clicksThrough()) << "the window manager holds the click";
             keys.tap(XK_Home);   // song 1 selected
             ASSERT_TRUE(s.caughtUp(main)) << "the program does not answer";
         },
         [&] { hold({XK_Alt_L}, XK_Down); },
         [&] {
             EXPECT_EQ(terminate(player), 0);
             const QList<QByteArray> lines = mp3maker::readBytes(home.filePath(QStringLiteral("Playlists/default.spp"))).split('\n');
             const qsizetype at = lines.indexOf("\"" + QFile::encodeName(songs[0]) + "\"\r");
             return at < 0 ? -1 : int(at / 7 + 1) - 1;   // places moved
         },
         kEveryPress, kEveryPress},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        if (HasFatalFailure()) return;
        sent = 0;
        c.holdKey();
        if (HasFatalFailure()) return;
        const int n = c.count();
        EXPECT_GE(n, c.least == kEveryPress ? sent : c.least) << sent << " presses sent";
        EXPECT_LE(n, c.most == kEveryPress ? sent : c.most) << sent << " presses sent";
    }
}

// The lyrics window, the media library, the CD player, and a box shown while the main window
// is in the tray (with no window of the program to belong to) show the main window's icon.
TEST_P(TrayClick, EveryWindowAndBoxCarriesTheProgramsIcon)
{
    Screen& s = *screen;
    const QString tone = home.filePath(QStringLiteral("tone.mp3"));
    QString why;
    if (!testmedia::makeStereoMp3(tone, 60, 0.5, &why)) GTEST_SKIP() << "sox and lame are needed to make the song: " << why.toStdString();
    mp3maker::Song tag;
    tag.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + "la la la"});
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_TRUE(mp3maker::writeBytes(song, mp3maker::id3v2Tag(tag) + mp3maker::readBytes(tone)));
    ASSERT_TRUE(startOnDesktop("[Settings]\r\nShowLyricsWhenAvailable=1\r\n", {song})) << player.readAll().constData();
    const auto programIcon = s.icon(main);
    ASSERT_FALSE(programIcon.empty());

    Typist keys(server.display());
    const QString playlists = home.filePath(QStringLiteral("Playlists"));
    const struct {
        const char* title;
        std::function<void()> bringUp;
    } windows[] = {
        // The song's lyrics open it. kwin_x11 shows a program's tool windows only while the
        // program is active.
        {"VELTRA Lyrics", [&] { ASSERT_TRUE(focusMain()); }},
        {"Media Library", [&] { menu({XK_a, XK_m}); }},
        {"CD Player", [&] { menu({XK_a, XK_c}); }},
        // Exit from the tray's menu, while the playlist cannot be saved, asks first.
        {"Exit Confirmation",
         [&] {
             askToClose(s.x(), main);
             ASSERT_TRUE(waitFor([&] { return s.inTray(main); }, 10000));
             ASSERT_TRUE(QDir(playlists).removeRecursively());
             QFile blocker(playlists);
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
             s.click(icon, 3);
             ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the tray menu did not open";
             keys.tap(XK_x);
         }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.title);
        w.bringUp();
        if (HasFatalFailure()) return;
        Window shown = 0;
        ASSERT_TRUE(waitFor([&] { return (shown = s.managed(w.title)) && s.shownNormally(shown); }, 20000)) << player.readAll().constData();
        EXPECT_EQ(s.icon(shown), programIcon);
        // The library and the CD player come up active: the keys for the next window are typed
        // once they are, not into them.
        if (w.title == std::string_view("Media Library") || w.title == std::string_view("CD Player")) {
            EXPECT_TRUE(waitFor([&] { return s.active() == shown; }, 10000)) << w.title << " did not come up active";
        }
    }
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// The dialogs and boxes of fixed size offer neither maximise nor resizing in their frame, and a
// minimise the window manager offers anyway (openbox keeps it for every dialog) is undone: the
// window comes back at once, with the main window it took along. The volume popup has no caption.
TEST_P(TrayClick, FixedSizeWindowsCanBeNeitherMaximisedNorLeftMinimised)
{
    Screen& s = *screen;
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("A"), .title = QStringLiteral("T"), .seconds = 4}));
    // A stored playlist, made current by Jump To Next Playlist, for Rename Playlist.
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Playlists")));
    ASSERT_TRUE(mp3maker::writeBytes(home.filePath(QStringLiteral("Playlists/Mine.spp")),
                                     "\"01\"\r\n\"A\"\r\n\"T\"\r\n\"2000\"\r\n\"Play\"\r\n\"00:04\"\r\n\"" + song.toUtf8() + "\"\r\n"));
    ASSERT_TRUE(startOnDesktop("", {song})) << player.readAll().constData();

    Typist keys(server.display());
    const auto pause = [] { QThread::msleep(300); };
    // Keys typed into the main window's menus: Alt with the first, then the others.
    const struct {
        const char* what;
        QString title;
        std::function<void()> bringUp;
    } windows[] = {
        {"Jump To Media", QStringLiteral("Jump To Media"), [&] { menu({XK_p, XK_j, XK_j}); }},
        {"Add Location", QStringLiteral("Add Location"), [&] { menu({XK_f, XK_l}); }},
        {"Rename Playlist", QStringLiteral("Rename Playlist"),
         [&] {
             menu({XK_p, XK_j, XK_n});
             ASSERT_TRUE(s.caughtUp(main)) << "the program does not answer";   // Mine is the playlist now
             menu({XK_a, XK_p, XK_r});
         }},
        {"a message box", QStringLiteral("Delete All Playlists Confirmation"), [&] { menu({XK_a, XK_p, XK_a}); }},
        {"the volume popup", QString(),
         [&] {
             s.click(icon, 3);
             ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the tray menu did not open";
             pause();
             keys.tap(XK_Up);   // "Exit"
             keys.tap(XK_Up);   // "Volume..."
             keys.tap(XK_Return);
         }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.what);
        // Not the main window: kwin_x11 may list it only a while after it is shown.
        const auto before = s.clients();
        w.bringUp();
        if (HasFatalFailure()) return;
        Window shown = 0;
        ASSERT_TRUE(waitFor(
            [&] {
                for (unsigned long c : s.clients())
                    if (std::find(before.begin(), before.end(), c) == before.end() && Window(c) != main && s.shownNormally(Window(c)))
                        shown = Window(c);
                return shown != 0;
            },
            20000))
            << player.readAll().constData();
        EXPECT_EQ(s.title(shown).trimmed().toStdString(), w.title.toStdString());
        EXPECT_TRUE(s.allows(shown, "_NET_WM_ACTION_CLOSE"));
        for (const char* action : {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"})
            EXPECT_FALSE(s.allows(shown, action)) << action;

        XIconifyWindow(s.x(), shown, DefaultScreen(s.x()));
        XSync(s.x(), False);
        waitFor([&] { return !s.shownNormally(shown); }, 2000);
        EXPECT_TRUE(waitFor([&] { return s.shownNormally(shown) && s.shownNormally(main); }, 10000))
            << "left minimised: WM_STATE " << s.state(shown).wmState << ", the main window's " << s.state(main).wmState;

        askToClose(s.x(), shown);
        ASSERT_TRUE(waitFor([&] { return !s.state(shown).viewable; }, 10000)) << "the close box did not close it";
    }
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

INSTANTIATE_TEST_SUITE_P(, TrayClick,
                         ::testing::Values(WindowManager::Openbox, WindowManager::Xfwm4, WindowManager::KWin, WindowManager::Mutter),
                         desktop::name);

} // namespace

#endif // VELTRA_HAVE_XVFB_SESSION
