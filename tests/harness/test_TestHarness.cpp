// The test harness itself: many program runs share one process, on machines under load.
#include "startup/modMain.h"
#include "support/TestEnv.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

class HarnessTest : public VeltraTest {};

// A queued event that takes longer than the whole wait (a slow paint on a loaded machine)
// does not keep a timer due meanwhile from firing.
TEST_F(HarnessTest, EveryTimerDueWithinTheWaitHasFiredWhenItEnds)
{
    QObject context;
    int ticks = 0;
    QTimer::singleShot(20, Qt::PreciseTimer, &context, [&ticks] { ++ticks; });
    QMetaObject::invokeMethod(&context, [] { QThread::msleep(80); }, Qt::QueuedConnection);
    processEvents(40);
    EXPECT_EQ(ticks, 1);
}

// A program run that quit outside any event loop leaves no quit standing for the next run:
// its modal dialogs still wait for their answer.
TEST_F(HarnessTest, AQuitOfOneRunDoesNotEndTheLoopsOfTheNext)
{
    startup::quit(0);
    QEventLoop before;
    QTimer::singleShot(0, &before, [&before] { before.exit(5); });
    EXPECT_EQ(before.exec(), -1);   // what the next test's dialogs would see

    endQuit();
    EXPECT_FALSE(startup::quitting());
    QEventLoop after;
    QTimer::singleShot(0, &after, [&after] { after.exit(5); });
    EXPECT_EQ(after.exec(), 5);
}

} // namespace
