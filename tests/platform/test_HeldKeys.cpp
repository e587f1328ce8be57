// A key pressed again before its release is held: it types on in a text field, but Return and
// a shortcut run once. Where the desktop cannot be asked (here, offscreen), a change of focus
// forgets the keys held, so a press after a release that went to another program is new.
#include "platform/HeldKeys.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

TEST(HeldKeys, AHeldKeyTypesOnButRunsItsCommandOnceUntilTheFocusChanges)
{
    const HeldKeys held(nullptr);
    QWidget window, other;
    auto* line = new QLineEdit(&window);
    auto* newList = new QAction(&window);
    newList->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    window.addAction(newList);
    int returns = 0, shortcuts = 0;
    QObject::connect(line, &QLineEdit::returnPressed, [&] { ++returns; });
    QObject::connect(newList, &QAction::triggered, [&] { ++shortcuts; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    line->setFocus();
    const auto pressTwice = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        for (int i = 0; i < 2; ++i) QTest::keyPress(window.windowHandle(), key, modifiers);   // no release between
    };
    pressTwice(Qt::Key_A, Qt::NoModifier);
    pressTwice(Qt::Key_Return, Qt::NoModifier);
    pressTwice(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(line->text(), QStringLiteral("aa"));
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(shortcuts, 1);

    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyPress(window.windowHandle(), Qt::Key_Return);
    QTest::keyPress(window.windowHandle(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(returns, 2);
    EXPECT_EQ(shortcuts, 2);
}
