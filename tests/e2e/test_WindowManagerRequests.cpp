// The real program on a private X server with a small stand-in window manager: hiding from
// the task bar asks the window manager once the window is mapped, the Window menu's item
// switches it back through the keyboard, and Alt+F4 ends the program with the playlist kept.
// File > Exit that cannot save the playlist asks first, and a start that another user's files
// block says so in a box. SIGTERM ends the program at once without a box, also in the middle
// of a command that asks about every row. A tag save killed at any moment leaves the old song
// or the new one.
#include "e2e/EndToEndFixture.h"
#include "media/ReferenceTagReader.h"
#include "startup/SingleInstance.h"
#include "support/ForeignLockNames.h"
#include "support/Mp3Maker.h"
#include "support/Xvfb.h"

#ifdef VELTRA_HAVE_XTEST
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <QCryptographicHash>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <iostream>
#include <memory>
#include <vector>

namespace {

// Maps and places what it is asked to, and records the window-state requests it receives.
class StandInWindowManager {
public:
    struct StateRequest {
        Window window;
        long action;   // 1 add, 0 remove
        Atom first;
        Atom second;
        bool mapped;   // the window was mapped before the request came
    };

    explicit StandInWindowManager(const QByteArray& display) : m_x(XOpenDisplay(display.constData())) {}
    ~StandInWindowManager()
    {
        if (m_x) XCloseDisplay(m_x);
    }

    bool start()
    {
        if (!m_x) return false;
        // A window may go before its request is served (boxes come and go quickly): such a
        // request is dropped, not fatal.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        XSelectInput(m_x, DefaultRootWindow(m_x), SubstructureRedirectMask | SubstructureNotifyMask);
        XSync(m_x, False);
        m_state = XInternAtom(m_x, "_NET_WM_STATE", False);
        skipTaskbar = XInternAtom(m_x, "_NET_WM_STATE_SKIP_TASKBAR", False);
        skipPager = XInternAtom(m_x, "_NET_WM_STATE_SKIP_PAGER", False);
        return true;
    }

    // Serves requests until `done` says so; false when the time ran out first.
    bool serveUntil(const std::function<bool()>& done, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            while (XPending(m_x)) {
                XEvent e;
                XNextEvent(m_x, &e);
                handle(e);
            }
            if (done()) return true;
            QThread::msleep(10);
        }
        return false;
    }

    // The mapped window with this name (0: none yet).
    Window named(const char* name) const
    {
        for (Window w : m_mapped) {
            char* text = nullptr;
            const bool match = XFetchName(m_x, w, &text) && text && qstrcmp(text, name) == 0;
            if (text) XFree(text);
            if (match) return w;
        }
        return 0;
    }

    void focus(Window w)
    {
        XSetInputFocus(m_x, w, RevertToParent, CurrentTime);
        XSync(m_x, False);
    }

    // Keys pressed together and let go in reverse, as a user's fingers do.
    void type(std::initializer_list<KeySym> keys)
    {
        for (KeySym k : keys) XTestFakeKeyEvent(m_x, XKeysymToKeycode(m_x, k), True, CurrentTime);
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) XTestFakeKeyEvent(m_x, XKeysymToKeycode(m_x, *it), False, CurrentTime);
        XSync(m_x, False);
    }

    std::vector<StateRequest> requests;
    int maps = 0;   // windows mapped so far
    Atom skipTaskbar = 0;
    Atom skipPager = 0;

private:
    void handle(const XEvent& e)
    {
        if (e.type == MapRequest) {
            ++maps;
            XMapWindow(m_x, e.xmaprequest.window);
            XSync(m_x, False);
            m_mapped.push_back(e.xmaprequest.window);
        } else if (e.type == ConfigureRequest) {
            const XConfigureRequestEvent& r = e.xconfigurerequest;
            XWindowChanges c{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
            XConfigureWindow(m_x, r.window, unsigned(r.value_mask), &c);
        } else if (e.type == UnmapNotify) {
            std::erase(m_mapped, e.xunmap.window);
        } else if (e.type == ClientMessage && e.xclient.message_type == m_state) {
            const Window w = e.xclient.window;
            const bool mapped = std::find(m_mapped.begin(), m_mapped.end(), w) != m_mapped.end();
            requests.push_back({w, e.xclient.data.l[0], Atom(e.xclient.data.l[1]), Atom(e.xclient.data.l[2]), mapped});
        }
    }

    Display* m_x;
    Atom m_state = 0;
    std::vector<Window> m_mapped;
};

class WindowManagerRequests : public EndToEnd {
protected:
    void SetUp() override
    {
        if (!Xvfb::installed()) GTEST_SKIP() << "Xvfb is not installed";
        EndToEnd::SetUp();
        if (IsSkipped()) return;
        QString why;
        ASSERT_TRUE(server.start(&why, QStringLiteral("1024x768x24"))) << why.toStdString();
        wm = std::make_unique<StandInWindowManager>(server.display());
        ASSERT_TRUE(wm->start());
    }

    // The real program on this display, its output kept for failure messages. Asked to, it runs
    // as an ordinary user also when the tests run as root (to whom no folder is read-only),
    // with the program folder, opened to everyone, as its home.
    void startOnDisplay(QProcess& p, const QStringList& arguments = {}, const QStringList& unset = {}, bool ordinaryUser = false)
    {
        QProcessEnvironment e = env();
        for (const QString& name : unset) e.remove(name);
        if (ordinaryUser && ::geteuid() == 0) {
            ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 0777), 0);
            e.insert(QStringLiteral("HOME"), home.path());
            e.remove(QStringLiteral("XDG_RUNTIME_DIR"));
            p.setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(127);
            });
        }
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        e.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
        p.setProcessEnvironment(e);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(VELTRA_BINARY), arguments);
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // The program started and its main window mapped, with the keyboard's focus.
    void startFocused(QProcess& p, bool ordinaryUser = false)
    {
        startOnDisplay(p, {}, {}, ordinaryUser);
        if (HasFatalFailure()) return;
        ASSERT_TRUE(wm->serveUntil([&] { return wm->named("VELTRA") != 0; }, 20000)) << p.readAll().constData();
        wm->focus(wm->named("VELTRA"));
        wm->serveUntil([] { return false; }, 500);
    }

    void writeFile(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(home.filePath(relative)).path());
        QFile f(home.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // The window manager serves until the program has ended (false: it did not within a time
    // no saving needs).
    bool serveUntilEnded(QProcess& p)
    {
        return wm->serveUntil([&] { return p.state() == QProcess::NotRunning || p.waitForFinished(20); }, 15000);
    }

    static constexpr uid_t kNobody = 65534;
    Xvfb server;
    std::unique_ptr<StandInWindowManager> wm;
};

// A playlist record as the list files hold it.
QByteArray record(int number, const QByteArray& path)
{
    return "\"" + QByteArray::number(number) + "\"\r\n\"Artist\"\r\n\"Title\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"" + path + "\"\r\n";
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(WindowManagerRequests, TaskBarEntryFollowsTheSwitchAndExitKeepsThePlaylist)
{
    StandInWindowManager& manager = *wm;
    QDir().mkpath(home.path() + QStringLiteral("/Playlists"));
    writeFile(QStringLiteral("settings.ini"), "[Settings]\r\nHideInTheTaskManager=1\r\nUseSystemTraySupport=0\r\n");
    const QString song = home.path() + QStringLiteral("/song.mp3");
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("A"), .title = QStringLiteral("T"), .id3v1 = true}));

    QProcess p;
    startOnDisplay(p, {song});
    if (HasFatalFailure()) return;

    // Asked once the main window is mapped: off the task bar and the pager together.
    Window main = 0;
    auto asked = [&](long action) {
        main = manager.named("VELTRA");
        for (const auto& r : manager.requests)
            if (r.window == main && r.action == action && r.first == manager.skipTaskbar) return true;
        return false;
    };
    ASSERT_TRUE(manager.serveUntil([&] { return asked(1); }, 20000)) << p.readAll().constData();
    const auto& hide = manager.requests.back();
    EXPECT_EQ(hide.second, manager.skipPager);
    EXPECT_TRUE(hide.mapped);

    // Window > Hide In The Task Manager, by the keyboard: back on the task bar, and stored.
    manager.focus(main);
    manager.serveUntil([] { return false; }, 500);
    manager.type({XK_Alt_L, XK_w});
    manager.serveUntil([] { return false; }, 300);
    manager.type({XK_h});
    ASSERT_TRUE(manager.serveUntil([&] { return asked(0); }, 5000)) << p.readAll().constData();
    EXPECT_TRUE(settings().contains("HideInTheTaskManager=0\r\n"));

    // Alt+F4 is Exit: the program ends on its own and keeps the playlist.
    manager.type({XK_Alt_L, XK_F4});
    ASSERT_TRUE(serveUntilEnded(p)) << p.readAll().constData();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    QFile spp(home.path() + QStringLiteral("/Playlists/default.spp"));
    ASSERT_TRUE(spp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(spp.readAll().contains(song.toUtf8()));
}

// File > Exit while Playlists/default.spp cannot be written (a file stands where the folder
// was): a question comes first; No (Escape) keeps the program running with its window and
// rows, so once the folder is back the next Exit saves them and ends the program.
TEST_F(WindowManagerRequests, ExitThatCannotWriteThePlaylistAsksAndNoKeepsTheProgramRunning)
{
    StandInWindowManager& manager = *wm;
    writeFile(QStringLiteral("settings.ini"), "[Settings]\r\nUseSystemTraySupport=0\r\n");
    const QString song = home.path() + QStringLiteral("/song.mp3");
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("A"), .title = QStringLiteral("T"), .id3v1 = true}));
    QProcess p;
    startOnDisplay(p, {song});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(manager.serveUntil([&] { return manager.named("VELTRA") != 0; }, 20000)) << p.readAll().constData();
    manager.serveUntil([] { return false; }, 500);

    const QString playlists = home.path() + QStringLiteral("/Playlists");
    ASSERT_TRUE(QDir(playlists).removeRecursively());
    QFile blocker(playlists);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto fileExit = [&] {
        manager.focus(manager.named("VELTRA"));
        manager.serveUntil([] { return false; }, 300);
        manager.type({XK_Alt_L, XK_f});
        manager.serveUntil([] { return false; }, 300);
        manager.type({XK_x});
    };
    fileExit();
    ASSERT_TRUE(manager.serveUntil([&] { return manager.named("Exit Confirmation") != 0; }, 10000)) << p.readAll().constData();
    manager.focus(manager.named("Exit Confirmation"));
    manager.serveUntil([] { return false; }, 300);
    manager.type({XK_Escape});
    ASSERT_TRUE(manager.serveUntil([&] { return manager.named("Exit Confirmation") == 0; }, 5000));
    manager.serveUntil([] { return false; }, 1000);
    ASSERT_EQ(p.state(), QProcess::Running) << p.readAll().constData();
    EXPECT_NE(manager.named("VELTRA"), 0u);

    ASSERT_TRUE(QFile::remove(playlists));
    ASSERT_TRUE(QDir().mkdir(playlists));
    fileExit();
    ASSERT_TRUE(serveUntilEnded(p)) << p.readAll().constData();
    EXPECT_EQ(p.exitCode(), 0);
    QFile spp(playlists + QStringLiteral("/default.spp"));
    ASSERT_TRUE(spp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(spp.readAll().contains(song.toUtf8()));
}

// A program folder several users share, where another user has made every name our lock could
// take: a box says so (with a line on standard error), and closing it ends the start with a
// failure.
TEST_F(WindowManagerRequests, AStartThatAnotherUsersFilesBlockShowsWhyAndFails)
{
    StandInWindowManager& manager = *wm;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 01777), 0);
    if (foreignnames::make(home.path(), ".lock").isEmpty()) GTEST_SKIP() << "cannot give a file to another user (not root)";
    QProcess p;
    startOnDisplay(p, {}, {QStringLiteral("XDG_RUNTIME_DIR")});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(manager.serveUntil([&] { return manager.named("Single Instance Error") != 0; }, 20000)) << p.readAll().constData();
    EXPECT_EQ(manager.named("VELTRA"), 0u);   // no main window
    manager.focus(manager.named("Single Instance Error"));
    manager.serveUntil([] { return false; }, 300);
    manager.type({XK_Return});
    ASSERT_TRUE(serveUntilEnded(p)) << p.readAll().constData();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAll().contains("veltra: It has been detected that the files VELTRA needs in the folder "));
}

// SIGTERM after File > New emptied the playlist over a default.spp that cannot be deleted
// (its folder read-only): no box comes up, the program ends, and standard error and the log
// say what was left undone.
TEST_F(WindowManagerRequests, SigtermThatCannotDeleteTheEmptiedPlaylistShowsNoBoxAndSaysWhy)
{
    StandInWindowManager& manager = *wm;
    writeFile(QStringLiteral("settings.ini"), "[Settings]\r\nRememberTheConsoleLogs=1\r\nUseSystemTraySupport=0\r\n");
    writeFile(QStringLiteral("Playlists/default.spp"), record(1, "/music/song.mp3"));
    const QString playlists = home.filePath(QStringLiteral("Playlists"));
    ASSERT_EQ(::chmod(QFile::encodeName(playlists).constData(), 0555), 0);
    QProcess p;
    startFocused(p, true);
    if (HasFatalFailure()) return;
    manager.type({XK_Control_L, XK_n});   // File > New
    const QString log = home.filePath(QStringLiteral("console.log"));
    ASSERT_TRUE(manager.serveUntil([&] { return readFile(log).contains("Playlist cleared."); }, 10000)) << p.readAll().constData();

    const int mapped = manager.maps;
    ::kill(pid_t(p.processId()), SIGTERM);
    const bool ended = serveUntilEnded(p);
    ::chmod(QFile::encodeName(playlists).constData(), 0755);
    ASSERT_TRUE(ended) << "still running";
    EXPECT_EQ(manager.maps, mapped);   // no box
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray line = "Deleting File Error: There was an error while trying to delete the following file: "
                            + QFile::encodeName(playlists) + "/default.spp Please check that the file is not being used by another program or user.";
    const QByteArray output = p.readAll();
    EXPECT_TRUE(output.contains("veltra: " + line + "\n")) << output.constData();
    EXPECT_TRUE(readFile(log).contains(line + "\r\n"));
    EXPECT_TRUE(settings().contains("Volume=")) << settings().constData();   // the rest is saved
}

// SIGTERM while Send To > Mood asks about each of 3,000 rows the mood already holds, answered
// one after another: the program ends there, with no further box and nothing more of the
// command done (the last row, new to the mood, is not added).
TEST_F(WindowManagerRequests, SigtermWhileSendToMoodAsksAboutEveryRowEndsTheCommandThere)
{
    StandInWindowManager& manager = *wm;
    constexpr int kRows = 3000;
    writeFile(QStringLiteral("settings.ini"), "[Settings]\r\nUseSystemTraySupport=0\r\n[Advanced]\r\nMoods=Calm\r\n");
    QByteArray list, mood;
    for (int i = 1; i <= kRows; ++i) {
        const QByteArray path = "/music/song" + QByteArray::number(i) + ".mp3";
        list += record(i, path);
        if (i < kRows) mood += path + "\r\n";
    }
    writeFile(QStringLiteral("Playlists/default.spp"), list);
    writeFile(QStringLiteral("Moods/Calm.mlst"), mood);
    QProcess p;
    startFocused(p);
    if (HasFatalFailure()) return;
    // All rows, then the playlist's menu: Send To > Mood > Calm.
    for (const std::initializer_list<KeySym>& keys : {std::initializer_list<KeySym>{XK_Control_L, XK_a}, {XK_Menu}, {XK_e}, {XK_m}, {XK_Down}, {XK_Return}}) {
        manager.type(keys);
        manager.serveUntil([] { return false; }, 300);
    }
    const char* box = "Song/Video Already In Mood";
    ASSERT_TRUE(manager.serveUntil([&] { return manager.named(box) != 0; }, 10000)) << p.readAll().constData();
    for (int answered = 0; answered < 3; ++answered) {
        const int mapped = manager.maps;
        manager.focus(manager.named(box));
        manager.type({XK_Return});
        ASSERT_TRUE(manager.serveUntil([&] { return manager.maps > mapped && manager.named(box) != 0; }, 10000));
    }

    const int mapped = manager.maps;
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(serveUntilEnded(p)) << "still running";
    EXPECT_EQ(manager.maps, mapped);   // no further box
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(readFile(home.filePath(QStringLiteral("Moods/Calm.mlst"))), mood);
}

// Writes `lines` numbered paths, a piece at a time; false when the file cannot be written.
bool writeLines(const QString& path, int lines, const QByteArray& stem)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QByteArray piece;
    for (int i = 0; i < lines; ++i) {
        piece += "/home/user/Music/Artist " + QByteArray::number(i % 300) + stem + QByteArray::number(i) + "\r\n";
        if (piece.size() > (1 << 20) && f.write(std::exchange(piece, {})) < 0) return false;
    }
    return f.write(piece) == piece.size();
}

QByteArray md5(const QString& path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    return f.open(QIODevice::ReadOnly) && hash.addData(&f) ? hash.result() : QByteArray();
}

// The most memory the process ever held, in kB.
qint64 peakKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// A bookmark file of a million lines and a folder history of four million: the main window
// comes up in little memory, Add Location opens from the keyboard, SIGTERM ends the program,
// and both files stay whole.
TEST_F(WindowManagerRequests, HugeBookmarkAndLocationFilesLeaveTheProgramLightAndStayWhole)
{
    StandInWindowManager& manager = *wm;
    const QString bookmarks = home.filePath(QStringLiteral("bookmarks.sbl"));
    const QString locations = home.filePath(QStringLiteral("locations.log"));
    ASSERT_TRUE(writeLines(bookmarks, 1000000, "/Album/"));
    ASSERT_TRUE(writeLines(locations, 4000000, "/Album "));
    const QByteArray bookmarksBefore = md5(bookmarks), locationsBefore = md5(locations);

    QProcess p;
    startFocused(p);
    if (HasFatalFailure()) return;
    manager.type({XK_Alt_L, XK_f});
    manager.serveUntil([] { return false; }, 300);
    manager.type({XK_l});
    EXPECT_TRUE(manager.serveUntil([&] { return manager.named("Add Location") != 0; }, 20000)) << p.readAll().constData();
    EXPECT_LT(peakKb(p.processId()), 400 * 1024);

    EXPECT_EQ(terminate(p), 0) << p.readAll().constData();
    EXPECT_EQ(md5(bookmarks), bookmarksBefore);
    EXPECT_EQ(md5(locations), locationsBefore);
}

// The copies of songs that saves of grown tags write in a folder.
QStringList tagCopies(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".veltra-tag-*")}, QDir::Files | QDir::Hidden);
}

// Edit ID3 Tag and Edit All Tags (the ID3v2 tags included) on a large song whose ID3v2 tag must
// grow, the program killed (SIGKILL) at moments of the save: some milliseconds after Update
// (or the run's Yes), and when the copy of the song holds given sizes or all of it. Each time
// the song holds both old tags or both new ones, as an independent reader finds them, and its
// audio whole. A save let run gives both new tags and removes the copies killed saves left.
TEST_F(WindowManagerRequests, ATagSaveKilledAtAnyMomentLeavesTheOldSongOrTheNewOne)
{
    SKIP_WITHOUT_REFERENCE_READER();
    StandInWindowManager& manager = *wm;
    writeFile(QStringLiteral("settings.ini"), "[Settings]\r\nUseSystemTraySupport=0\r\n");
    const QByteArray audio = mp3maker::audioFrames({.seconds = 1000, .bitrate = 320});   // 40 MB
    const mp3maker::Song old{.artist = QStringLiteral("Old Artist"), .title = QStringLiteral("Old Title"), .id3v1 = true};
    const QByteArray original = mp3maker::id3v2Tag(old) + audio + mp3maker::id3v1Tag(old);   // a tag without room to grow
    const QString folder = home.filePath(QStringLiteral("Music"));
    const QString song = folder + QStringLiteral("/song.mp3");
    QDir().mkpath(folder);

    struct Moment {
        bool mass;       // the Mass Tag Editor, else Edit ID3 Tag
        int afterMs;     // killed this long after the save was asked for, or
        qint64 copied;   // when the copy holds this many bytes; neither: the save runs to its end
    };
    const qint64 whole = audio.size() + 128;
    const Moment moments[] = {{false, 0, -1},        {false, 20, -1},       {false, 40, -1},    {false, -1, 4 << 20},
                              {false, -1, 16 << 20}, {false, -1, 32 << 20}, {false, -1, whole}, {false, -1, -1},
                              {true, 20, -1},        {true, -1, 16 << 20},  {true, -1, whole},  {true, -1, -1}};
    auto press = [&](std::initializer_list<KeySym> keys, int pause = 100) {
        for (KeySym k : keys) {
            manager.type({k});
            manager.serveUntil([] { return false; }, pause);
        }
    };
    const std::initializer_list<KeySym> newArtist = {XK_n, XK_e, XK_w, XK_a, XK_r, XK_t, XK_i, XK_s, XK_t};
    int oldSongs = 0, newSongs = 0;
    for (const Moment& m : moments) {
        SCOPED_TRACE(QStringLiteral("%1, killed %2 ms after the save was asked for, or at %3 bytes of the copy")
                         .arg(m.mass ? "Mass Tag Editor" : "Edit ID3 Tag").arg(m.afterMs).arg(m.copied).toStdString());
        ASSERT_TRUE(mp3maker::writeBytes(song, original));
        writeFile(QStringLiteral("Playlists/default.spp"), record(1, QFile::encodeName(song)));   // not played, as a song given would be
        const QStringList leftBefore = tagCopies(folder);
        QProcess p;
        startFocused(p);
        if (HasFatalFailure()) return;
        // Arrange > Entries > Edit All Tags; or the row, Playback > Selected > Properties.
        const char* window = m.mass ? "Mass Tag Editor" : "Edit ID3 Tag";
        if (m.mass) {
            manager.type({XK_Alt_L, XK_a});
            press({XK_n, XK_l}, 300);
        } else {
            manager.type({XK_Control_L, XK_a});
            manager.type({XK_Alt_L, XK_p});
            press({XK_l, XK_p}, 300);
        }
        ASSERT_TRUE(manager.serveUntil([&] { return manager.named(window) != 0; }, 10000)) << p.readAll().constData();
        manager.focus(manager.named(window));
        manager.serveUntil([] { return false; }, 500);
        if (m.mass) {
            // The artist, a genre (four boxes on), the ID3v2 tags too, Edit All, then Yes.
            press(newArtist, 0);
            press({XK_Tab, XK_Tab, XK_Tab, XK_Tab, XK_Down, XK_Tab, XK_space, XK_Return});
            ASSERT_TRUE(manager.serveUntil([&] { return manager.named("Mass Tag Editing Confirmation") != 0; }, 10000));
            manager.focus(manager.named("Mass Tag Editing Confirmation"));
            manager.serveUntil([] { return false; }, 300);
        } else {
            // From the file name past the rename button to the ID3v1 artist, then five boxes
            // and a button on to "ID3v1 To ID3v2", pressed; then Update.
            press({XK_Tab, XK_Tab});
            press(newArtist, 0);
            press({XK_Tab, XK_Tab, XK_Tab, XK_Tab, XK_Tab, XK_Tab, XK_Tab, XK_space});
        }
        manager.type({XK_Return});

        const pid_t pid = pid_t(p.processId());
        if (m.afterMs >= 0) {
            QThread::msleep(m.afterMs);
        } else if (m.copied >= 0) {
            // Watched without a pause: the copy grows by a quarter megabyte a write.
            QDeadlineTimer deadline(30000);
            bool reached = false;
            while (!reached && !deadline.hasExpired() && ::kill(pid, 0) == 0)
                for (const QString& name : tagCopies(folder))
                    reached = reached || (!leftBefore.contains(name) && QFileInfo(folder + u'/' + name).size() >= m.copied);
            EXPECT_TRUE(reached);
        } else {
            ASSERT_TRUE(manager.serveUntil([&] { return manager.named(window) == 0; }, 30000)) << p.readAll().constData();
        }
        ::kill(pid, m.afterMs < 0 && m.copied < 0 ? SIGTERM : SIGKILL);
        ASSERT_TRUE(p.waitForFinished(10000));

        const reference::Frames frames = reference::read(song);
        const QString v2 = frames.value(QStringLiteral("TPE1")), v1 = frames.value(QStringLiteral("v1:TPE1"));
        const QByteArray now = readFile(song);
        if (v2.contains(QLatin1String("'Old Artist'")) && v1.contains(QLatin1String("'Old Artist'")) && now == original)
            ++oldSongs;
        else if (v2.contains(QLatin1String("'newartist'")) && v1.contains(QLatin1String("'newartist'")) && now.size() >= whole
                 && now.mid(now.size() - whole, audio.size()) == audio)
            ++newSongs;
        else
            ADD_FAILURE() << "a half-applied save: ID3v2 " << v2.toStdString() << ", ID3v1 " << v1.toStdString();
        if (m.afterMs < 0 && m.copied < 0) {
            EXPECT_TRUE(v2.contains(QLatin1String("'newartist'")));
            EXPECT_EQ(tagCopies(folder), QStringList());   // what the killed saves left went with this save
        }
    }
    std::cout << "old songs " << oldSongs << ", new songs " << newSongs << " of " << std::size(moments) << "\n";
}

} // namespace

#endif // VELTRA_HAVE_XTEST
