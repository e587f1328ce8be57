// The real program under a real window manager (openbox) with a real notification area
// (trayer): the close box hides the window to the tray, and one left click on the icon brings
// it back, normal, in front and with the focus, every time; a maximised window comes back
// maximised and laid out as maximised. Every window and box carries the program's icon; the
// dialogs and boxes of fixed size can be neither maximised nor left minimised.
#include "support/GeneratedMedia.h"
#include "support/Mp3Maker.h"
// After the above: Xlib's macros would clash with their names.
#include "e2e/DesktopFixture.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
namespace {

using desktopsession::Screen;
using desktopsession::waitFor;

// Under openbox, with trayer.
using TrayClick = desktopsession::Desktop;

// The playlist's own colour (magenta, as the settings write it), which only the playlist and
// the playlists box show.
constexpr unsigned long kListRgb = 0xff00ff;
constexpr const char* kListColourSettings = "[Appearance]\r\nBackgroundColour=16711935\r\n";

TEST_F(TrayClick, OneLeftClickOnTheIconBringsTheClosedWindowBackEveryTime)
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
TEST_F(TrayClick, AReturnWhoseReleaseNeverCameRunsNothingMore)
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
    pointAt(at.x + 30, at.y + 8);
    pointAt(at.x + 40, at.y + 12);
    QThread::msleep(1500);
    keys.tap(XK_Escape);
    QThread::msleep(500);
    EXPECT_EQ(log().count("Played "), played) << "rows played with the key held";
    EXPECT_FALSE(log().contains("Playlist cleared.")) << "the held key picked File > New";

    focusOn(other);
    keys.up(XK_Return);   // to the other program
    focusOn(main);
    clickRow(2);
    keys.tap(XK_Return);
    EXPECT_TRUE(waitFor([&] { return log().count("Played ") == played + 1; }, 5000)) << "a real press after the key came up did not play";
    QThread::msleep(1000);
    EXPECT_EQ(log().count("Played "), played + 1);
    EXPECT_TRUE(log().contains("Played Artist2 - Title2.\r\n")) << log().constData();

    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
    const QByteArray saved = mp3maker::readBytes(home.filePath(QStringLiteral("Playlists/default.spp")));
    for (const QString& song : songs) EXPECT_TRUE(saved.contains(QFile::encodeName(song))) << saved.constData();
}

// The lyrics window, the media library, the CD player, and a box shown while the main window
// is in the tray (with no window of the program to belong to) show the main window's icon.
TEST_F(TrayClick, EveryWindowAndBoxCarriesTheProgramsIcon)
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
    const auto arrangeMenu = [&](KeySym item) {
        ASSERT_TRUE(focusMain());
        keys.down(XK_Alt_L);
        keys.tap(XK_a);
        keys.up(XK_Alt_L);
        ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the Arrange menu did not open";
        keys.tap(item);
    };
    const QString playlists = home.filePath(QStringLiteral("Playlists"));
    const struct {
        const char* title;
        std::function<void()> bringUp;
    } windows[] = {
        {"VELTRA Lyrics", [] {}},   // the song's lyrics open it
        {"Media Library", [&] { arrangeMenu(XK_m); }},
        {"CD Player", [&] { arrangeMenu(XK_c); }},
        // Exit from the tray's menu, while the playlist cannot be saved, asks first.
        {"Exit Confirmation",
         [&] {
             askToClose(s.x(), main);
             ASSERT_TRUE(waitFor([&] { return s.inTray(main); }, 10000));
             ASSERT_TRUE(QDir(playlists).removeRecursively());
             QFile blocker(playlists);
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
             s.click(icon, 3);
             QThread::msleep(500);
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
    }
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// The dialogs and boxes of fixed size offer neither maximise nor resizing in their frame, and a
// minimise the window manager offers anyway (openbox keeps it for every dialog) is undone: the
// window comes back at once, with the main window it took along. The volume popup has no caption.
TEST_F(TrayClick, FixedSizeWindowsCanBeNeitherMaximisedNorLeftMinimised)
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
    const auto menu = [&](std::initializer_list<KeySym> path) {
        ASSERT_TRUE(focusMain());
        keys.down(XK_Alt_L);
        keys.tap(*path.begin());
        keys.up(XK_Alt_L);
        ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the menu did not open";
        for (auto key = path.begin() + 1; key != path.end(); ++key) {
            pause();
            keys.tap(*key);
        }
    };
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
             QThread::msleep(1000);
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
        const auto before = s.clients();
        w.bringUp();
        if (HasFatalFailure()) return;
        Window shown = 0;
        ASSERT_TRUE(waitFor(
            [&] {
                for (unsigned long c : s.clients())
                    if (std::find(before.begin(), before.end(), c) == before.end() && s.shownNormally(Window(c))) shown = Window(c);
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

} // namespace

#endif // VELTRA_HAVE_XVFB_SESSION
