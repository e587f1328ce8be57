// Menu arrays: loaded elements copy element 0 as it was set, also while element 0 is hidden.
#include "common/MenuArray.h"
#include "support/TestEnv.h"

#include <QMenu>

class MenuArrayTest : public VeltraTest {};

TEST_F(MenuArrayTest, LoadedElementsTakeElementZerosEnabledSettingEvenWhileItIsHidden)
{
    QMenu menu;
    MenuArray array;
    QAction* zero = menu.addAction(QStringLiteral("[None]"));
    array.attach(zero);
    zero->setVisible(false);
    zero->setEnabled(true);
    ASSERT_FALSE(zero->isEnabled());   // how a hidden action reads
    QAction* one = array.load(1);
    ASSERT_NE(one, nullptr);
    one->setVisible(true);
    EXPECT_TRUE(one->isEnabled());
    EXPECT_FALSE(zero->isVisible());   // element 0 stays as it was

    zero->setEnabled(false);
    QAction* two = array.load(2);
    two->setVisible(true);
    EXPECT_FALSE(two->isEnabled());
    EXPECT_EQ(menu.actions(), QList<QAction*>({zero, one, two}));
}

// A long array (a bookmarks file of many thousand lines) enters its menu when the menu is
// about to show, in order, after the designed items before it and before those after it.
TEST_F(MenuArrayTest, ALongArrayEntersItsMenuWhenTheMenuShows)
{
    QMenu menu;
    QAction* before = menu.addAction(QStringLiteral("Before"));
    QAction* zero = menu.addAction(QStringLiteral("[None]"));
    QAction* after = menu.addAction(QStringLiteral("After"));
    MenuArray array;
    array.attach(zero);
    int chosen = -1;
    QObject::connect(&array, &MenuArray::triggered, [&](int index) { chosen = index; });
    const int n = MenuArray::kPlacedAtOnce + 500;
    for (int i = 1; i <= n; ++i) array.load(i)->setText(QString::number(i));
    array.unload(n);   // the last one again, before it ever showed
    array.at(n - 1)->trigger();
    EXPECT_EQ(chosen, n - 1);

    menu.popup(QPoint(0, 0));
    QList<QAction*> expected = {before, zero};
    for (int i = 1; i < n; ++i) expected.append(array.at(i));
    expected.append(after);
    EXPECT_EQ(menu.actions(), expected);
    menu.hide();
}
