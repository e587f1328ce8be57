// The real program started with a main-window position saved on a larger monitor: it opens on
// the test screen (800 pixels each way) and saves the place it really had.
#include "e2e/EndToEndFixture.h"

#include <QSettings>

class WindowsOnSmallScreens : public EndToEnd {};

TEST_F(WindowsOnSmallScreens, MainWindowSavedOffTheScreenOpensOnIt)
{
    QFile ini(home.path() + QStringLiteral("/settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    // 1500 by 800 pixels from the corner of a 1920 by 1080 monitor, 1080 by 824 large.
    ini.write("[Position_MainWindow]\r\nWindow_Top=12000\r\nWindow_left=22500\r\nWindow_Height=12360\r\n"
              "Window_Width=16200\r\nWindow_Maximized=0\r\n");
    ini.close();
    QProcess p;
    startPlayer(p);
    ASSERT_TRUE(waitForMainWindow(p)) << p.readAll().toStdString();
    EXPECT_EQ(terminate(p), 0);
    QSettings saved(home.path() + QStringLiteral("/settings.ini"), QSettings::IniFormat);
    saved.beginGroup(QStringLiteral("Position_MainWindow"));
    ASSERT_TRUE(saved.contains(QStringLiteral("Window_left")) && saved.contains(QStringLiteral("Window_Width")));
    const int left = saved.value(QStringLiteral("Window_left")).toInt();
    const int top = saved.value(QStringLiteral("Window_Top")).toInt();
    EXPECT_GE(left, 0);
    EXPECT_GE(top, 0);
    EXPECT_LE(left + saved.value(QStringLiteral("Window_Width")).toInt(), 800 * 15);
    EXPECT_LE(top + saved.value(QStringLiteral("Window_Height")).toInt(), 800 * 15);
}
