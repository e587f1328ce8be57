// A key pressed again before its release is held: it repeats in the window its press went to
// (typing on, Return and a shortcut answering every time) and does nothing in any other
// window. Where the desktop cannot be asked (here, offscreen), a change of focus forgets the
// keys held, so a press after a release that went to another program is new.
#include "platform/FakeKeyStateSource.h"
#include "platform/HeldKeys.h"
#include "platform/KeyStateSource.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace {
struct Window {
    QWidget widget;
    QLineEdit* line = new QLineEdit(&widget);
    QAction* newList = new QAction(&widget);
    int returns = 0, shortcuts = 0;
    Window()
    {
        newList->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
        widget.addAction(newList);
        QObject::connect(line, &QLineEdit::returnPressed, [this] { ++returns; });
        QObject::connect(newList, &QAction::triggered, [this] { ++shortcuts; });
    }
};
} // namespace

TEST(HeldKeys, AKeyRepeatsInTheWindowItsPressWentToAndNowhereElse)
{
    const HeldKeys held(nullptr);
    Window first, second;
    first.widget.show();
    second.widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second.widget));
    first.widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first.widget));
    first.line->setFocus();
    second.line->setFocus();
    // Each key goes down in the first window and is pressed again, without a release, where
    // the row says; the release comes at the end.
    const struct {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool againInFirst;
        QString firstText, secondText;
        int firstReturns, secondReturns, firstShortcuts, secondShortcuts;
    } rows[] = {
        {"a letter in its window", Qt::Key_A, Qt::NoModifier, true, QStringLiteral("aa"), QString(), 0, 0, 0, 0},
        {"Return in its window", Qt::Key_Return, Qt::NoModifier, true, QStringLiteral("aa"), QString(), 2, 0, 0, 0},
        {"a shortcut in its window", Qt::Key_N, Qt::ControlModifier, true, QStringLiteral("aa"), QString(), 2, 0, 2, 0},
        {"a letter in another window", Qt::Key_B, Qt::NoModifier, false, QStringLiteral("aab"), QString(), 2, 0, 2, 0},
        {"Return in another window", Qt::Key_Return, Qt::NoModifier, false, QStringLiteral("aab"), QString(), 3, 0, 2, 0},
        {"a shortcut in another window", Qt::Key_N, Qt::ControlModifier, false, QStringLiteral("aab"), QString(), 3, 0, 3, 0},
        {"Backspace in its window", Qt::Key_Backspace, Qt::NoModifier, true, QStringLiteral("a"), QString(), 3, 0, 3, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        QTest::keyPress(first.widget.windowHandle(), r.key, r.modifiers);
        QTest::keyPress((r.againInFirst ? first : second).widget.windowHandle(), r.key, r.modifiers);
        QTest::keyRelease(first.widget.windowHandle(), r.key, r.modifiers);
        EXPECT_EQ(first.line->text(), r.firstText);
        EXPECT_EQ(second.line->text(), r.secondText);
        EXPECT_EQ(first.returns, r.firstReturns);
        EXPECT_EQ(second.returns, r.secondReturns);
        EXPECT_EQ(first.shortcuts, r.firstShortcuts);
        EXPECT_EQ(second.shortcuts, r.secondShortcuts);
    }

    // Down in the first window, then the focus goes to the second and nobody can say whether
    // the key is still down: its next press there is a new one.
    QTest::keyPress(first.widget.windowHandle(), Qt::Key_Return);
    second.widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second.widget));
    QTest::keyPress(second.widget.windowHandle(), Qt::Key_Return);
    QTest::keyPress(second.widget.windowHandle(), Qt::Key_Return);
    EXPECT_EQ(first.returns, 4);
    EXPECT_EQ(second.returns, 2);

    // Its release never came (the window it went to closed meanwhile), and another key was
    // pressed since: the desktop repeats only the key pressed last, so the next Return is a
    // new press wherever it goes.
    QTest::keyClick(second.widget.windowHandle(), Qt::Key_C);
    QTest::keyPress(first.widget.windowHandle(), Qt::Key_Return);
    EXPECT_EQ(first.returns, 5);
    EXPECT_EQ(second.line->text(), QStringLiteral("c"));
}

// The desktop says the key is up, though its release never reached the program (the menu its
// press closed took it along): the same key pressed anew in another window does its thing, as
// soon as the desktop has been asked again, without any other key or a change of focus.
TEST(HeldKeys, AKeyTheDesktopSaysIsUpIsNoLongerHeld)
{
    struct NothingDown : KeyStateSource {
        int asked = 0;
        int GetAsyncKeyState(int) override { return 0; }
        std::optional<std::bitset<256>> nativeKeysDown() override
        {
            ++asked;
            return std::bitset<256>();
        }
    };
    const auto desktop = std::make_shared<NothingDown>();
    const HeldKeys held(desktop);
    Window first, second;
    first.widget.show();
    second.widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second.widget));
    first.line->setFocus();
    second.line->setFocus();
    const int before = desktop->asked;
    QTest::keyPress(first.widget.windowHandle(), Qt::Key_Return);
    // Asked once while the press was fresh, and once more since.
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop->asked >= before + 2; }, 5000));
    QTest::keyPress(second.widget.windowHandle(), Qt::Key_Return);
    EXPECT_EQ(second.returns, 1);
    EXPECT_EQ(first.returns, 1);
}

// Return answered a box, which closed on the press and took its release along. A second press
// at once, which the desktop says was the key going down again, answers in the window it went
// to; the desktop's repeats still reach no window but that one.
TEST(HeldKeys, APressTheDesktopSaysIsNewIsNoRepeat)
{
    const auto desktop = std::make_shared<FakeKeyStateSource>();
    const HeldKeys held(desktop);
    Window first, second;
    auto box = std::make_unique<Window>();
    for (Window* w : {&first, &second, box.get()}) {
        w->widget.show();
        w->line->setFocus();
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box->widget));
    first.widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first.widget));
    constexpr int kReturn = 36;
    const auto press = [&](Window& w, quint64 time, bool real) {
        if (real) desktop->nativePress(kReturn, time);
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, kReturn, 0, 0, QStringLiteral("\r"));
        e.setTimestamp(time);
        QSpontaneKeyEvent::setSpontaneous(&e);
        QCoreApplication::instance()->notify(w.widget.windowHandle(), &e);   // as the platform does, unlike sendEvent
    };
    press(*box, 1000, true);
    ASSERT_EQ(box->returns, 1);
    box.reset();
    press(second, 1100, false);
    press(second, 1200, true);
    press(second, 1300, false);
    press(first, 1400, false);
    EXPECT_EQ(second.returns, 2);
    EXPECT_EQ(first.returns, 0);
}
