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
