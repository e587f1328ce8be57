// The desktop keyboard read from a real X server: a private Xvfb, with keys typed through
// XTEST by another client that holds the input focus. Skipped where Xvfb is not installed.
#include <QTest>   // before Xlib, whose macros clash with its names
#include "platform/KeyStateSource.h"
#include "platform/FakeKeyStateSource.h"
#include "platform/X11KeyStateSource.h"
#include "player/modGlobalKeys.h"
#include "support/TestEnv.h"
#include "support/XvfbSession.h"

#include <memory>
#include <vector>

#ifdef VELTRA_HAVE_X11
#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#ifdef VELTRA_HAVE_XTEST
#include <X11/extensions/XTest.h>
#endif
#endif

using namespace keystate;

namespace {

QStringList poll(KeyStateSource& keys)
{
    QStringList seen;
    globalkeys_Poll(keys, true, [&](const QString& combination) { seen << combination; });
    return seen;
}

} // namespace

TEST(KeyStateFactory, InstalledSourceElseADisplayElseNothing)
{
    auto fake = std::make_shared<FakeKeyStateSource>();
    {
        ScopedTestSource installed(fake);
        EXPECT_EQ(keystate::create(), fake);
    }
    EXPECT_NE(keystate::create(), fake);

    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    auto none = keystate::create();
    if (!display.isEmpty()) qputenv("DISPLAY", display);
    for (int code = 0; code < vk::Count; ++code) EXPECT_EQ(none->GetAsyncKeyState(code), 0) << code;

    // A display that does not answer: every key up, nothing crashes.
    X11KeyStateSource unreachable(":4999");
    EXPECT_FALSE(unreachable.isOpen());
    EXPECT_EQ(unreachable.GetAsyncKeyState(vk::F1), 0);
    EXPECT_TRUE(poll(unreachable).isEmpty());
}

#ifdef VELTRA_HAVE_X11

TEST(X11KeyStateSource, KeysymsBecomeVirtualKeys)
{
    struct Case { unsigned long keysym; int vk; };
    for (const Case& c : std::initializer_list<Case>{
             {XK_F1, 112}, {XK_F5, 116}, {XK_F12, 123}, {XK_F13, 0}, {XK_q, 81}, {XK_Q, 81},
             {XK_a, 65}, {XK_z, 90}, {XK_0, 48}, {XK_7, 55}, {XK_KP_0, 96}, {XK_KP_7, 103},
             {XK_KP_Insert, 96}, {XK_KP_End, 97}, {XK_KP_Down, 98}, {XK_KP_Next, 99},
             {XK_KP_Left, 100}, {XK_KP_Begin, 101}, {XK_KP_Right, 102}, {XK_KP_Home, 103},
             {XK_KP_Up, 104}, {XK_KP_Prior, 105}, {XK_Insert, 0}, {XK_End, 0}, {XK_Return, 0},
             {XK_Shift_L, 16}, {XK_Shift_R, 16}, {XK_Control_L, 17}, {XK_Control_R, 17},
             {XK_Alt_L, 18}, {XK_Alt_R, 18}, {XK_Super_L, 91}, {XK_Super_R, 92},
             {XF86XK_AudioMute, 173}, {XF86XK_AudioLowerVolume, 174}, {XF86XK_AudioRaiseVolume, 175},
             {XF86XK_AudioNext, 176}, {XF86XK_AudioPrev, 177}, {XF86XK_AudioStop, 178},
             {XF86XK_AudioPlay, 179}, {XF86XK_AudioPause, 179}}) {
        EXPECT_EQ(X11KeyStateSource::virtualKeyOfKeysym(c.keysym), c.vk) << std::hex << c.keysym;
    }
}

#ifdef VELTRA_HAVE_XTEST

namespace {

class X11KeyboardTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        if (!Xvfb::installed())
            GTEST_SKIP() << "Xvfb is not installed";
        QString why;
        ASSERT_TRUE(server.start(&why)) << why.toStdString();
        typist = std::make_unique<Typist>(server.display());
        ASSERT_TRUE(typist->usable()) << "no XTEST on the private X server";
        // Another program has the focus; no Qt window exists at all.
        const Window window = typist->takeFocus();
        ASSERT_EQ(typist->focus(), window);
    }
    void TearDown() override
    {
        typist.reset();
        VeltraTest::TearDown();
    }

    Xvfb server;
    std::unique_ptr<Typist> typist;
};

} // namespace

TEST_F(X11KeyboardTest, RawEventsReportHotKeysTypedIntoAnotherWindow)
{
    X11KeyStateSource keys(server.display());
    ASSERT_TRUE(keys.isOpen());
    ASSERT_TRUE(keys.usesRawEvents());
    EXPECT_TRUE(poll(keys).isEmpty());

    // F5 tapped with Ctrl and Shift held, all between two polls.
    typist->down(XK_Control_L);
    typist->down(XK_Shift_L);
    typist->tap(XK_F5);
    keys.refresh();
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Ctrl+Shift+F5")});
    EXPECT_TRUE(poll(keys).isEmpty());
    typist->up(XK_Shift_L);
    typist->up(XK_Control_L);

    // A media key given to a spare keycode while the source runs.
    const KeyCode next = typist->mapSpareKeycode(XF86XK_AudioNext);
    ASSERT_NE(next, 0);
    typist->fake(next, true);
    typist->fake(next, false);
    keys.refresh();
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Media:  Next")});

    // A key held across polls fires once; the right Windows key is Win.
    const KeyCode superR = typist->mapSpareKeycode(XK_Super_R);
    ASSERT_NE(superR, 0);
    typist->fake(superR, true);
    typist->down(XK_a);
    keys.refresh();
    EXPECT_EQ(keys.GetAsyncKeyState(vk::RightWin) & Down, Down);
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Win+A")});
    keys.refresh();
    EXPECT_TRUE(poll(keys).isEmpty());
    typist->up(XK_a);
    typist->fake(superR, false);
    keys.refresh();
    EXPECT_EQ(keys.GetAsyncKeyState('A'), 0);
    EXPECT_EQ(keys.GetAsyncKeyState(vk::RightWin), 0);

    // Two keys in one poll.
    typist->tap(XK_KP_Insert);
    typist->tap(XK_1);
    keys.refresh();
    EXPECT_EQ(poll(keys), (QStringList{QStringLiteral("1"), QStringLiteral("NumPad0")}));
}

TEST_F(X11KeyboardTest, KeyDownBeforeTheSourceOpensIsNotAPress)
{
    typist->down(XK_F7);
    X11KeyStateSource keys(server.display());
    ASSERT_TRUE(keys.isOpen());
    EXPECT_EQ(keys.GetAsyncKeyState(vk::F1 + 6), Down);
    EXPECT_TRUE(poll(keys).isEmpty());
    typist->up(XK_F7);
    typist->down(XK_F7);
    keys.refresh();
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("F7")});
    typist->up(XK_F7);
}

// A key held: the focused window gets the press and the server's repeats of it, alike but for
// their times, and the source tells the press by its time.
TEST_F(X11KeyboardTest, RawEventsTellAPressFromTheServersRepeats)
{
    X11KeyStateSource keys(server.display());
    ASSERT_TRUE(keys.usesRawEvents());
    const std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(server.display().constData()), XCloseDisplay);
    ASSERT_TRUE(x);
    XAutoRepeatOn(x.get());
    ASSERT_TRUE(XkbSetAutoRepeatRate(x.get(), XkbUseCoreKbd, 100, 20));
    XSelectInput(x.get(), typist->focus(), KeyPressMask);
    XSync(x.get(), False);
    const KeyCode escape = typist->keycode(XK_Escape);
    std::vector<Time> presses;
    typist->down(XK_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        for (XEvent e; XCheckTypedEvent(x.get(), KeyPress, &e);)
            if (e.xkey.keycode == escape) presses.push_back(e.xkey.time);
        return presses.size() >= 4;
    }, 10000)) << presses.size() << " presses";
    typist->up(XK_Escape);
    for (std::size_t i = 0; i < presses.size(); ++i) EXPECT_EQ(keys.nativeKeyWentDownAt(escape, presses[i]), i == 0) << i;

    X11KeyStateSource polling(server.display(), X11KeyStateSource::Mode::KeymapPolling);
    EXPECT_EQ(polling.nativeKeyWentDownAt(escape, presses.front()), std::nullopt);
}

TEST_F(X11KeyboardTest, KeymapPollingSeesKeysHeldAtThePoll)
{
    X11KeyStateSource keys(server.display(), X11KeyStateSource::Mode::KeymapPolling);
    ASSERT_TRUE(keys.isOpen());
    EXPECT_FALSE(keys.usesRawEvents());

    typist->down(XK_Control_L);
    typist->down(XK_Shift_L);
    typist->down(XK_F5);
    keys.refresh();
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Ctrl+Shift+F5")});
    keys.refresh();
    EXPECT_TRUE(poll(keys).isEmpty());
    for (KeySym sym : {XK_F5, XK_Shift_L, XK_Control_L}) typist->up(sym);

    const KeyCode play = typist->mapSpareKeycode(XF86XK_AudioPlay);
    ASSERT_NE(play, 0);
    typist->fake(play, true);
    keys.refresh();
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Media:  Play/Pause")});
    typist->fake(play, false);
    keys.refresh();
    EXPECT_EQ(keys.GetAsyncKeyState(vk::MediaPlayPause), 0);
}

#endif // VELTRA_HAVE_XTEST
#endif // VELTRA_HAVE_X11
