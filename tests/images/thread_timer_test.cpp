// The background-thread timer: where its ticks run, and the settings that stop them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <atomic>

#include "images/thread_timer.h"

namespace dorvanel::images {
namespace {

// Runs the event loop for `ms` milliseconds.
void Pump(int ms) { QTest::qWait(ms); }

TEST(ThreadTimer, Defaults) {
    TThreadTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_TRUE(timer.SyncEvent());
    EXPECT_TRUE(timer.Threaded());
    EXPECT_EQ(timer.ThreadPriority(), TThreadPriority::tpNormal);
    EXPECT_FALSE(timer.HasOnTimer());
    EXPECT_FALSE(timer.Ticking());  // no handler yet
}

TEST(ThreadTimer, TicksRunOnTheUserInterfaceThread) {
    TThreadTimer timer;
    timer.SetInterval(20);
    std::atomic<int> ticks{0};
    std::atomic<bool> elsewhere{false};
    timer.SetOnTimer([&] {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) elsewhere = true;
        ++ticks;
    });
    EXPECT_TRUE(timer.Ticking());
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 5000);
    EXPECT_FALSE(elsewhere);
}

TEST(ThreadTimer, WithoutSyncEventTicksRunOnTheTimersThread) {
    TThreadTimer timer;
    timer.SetSyncEvent(false);
    timer.SetInterval(20);
    std::atomic<int> ticks{0};
    std::atomic<bool> onUiThread{false};
    const QThread* ui = QCoreApplication::instance()->thread();
    timer.SetOnTimer([&] {
        if (QThread::currentThread() == ui) onUiThread = true;
        ++ticks;
    });
    QElapsedTimer clock;
    clock.start();
    while (ticks < 3 && clock.elapsed() < 5000) QThread::msleep(10);  // no event loop needed
    EXPECT_GE(ticks, 3);
    EXPECT_FALSE(onUiThread);
}

TEST(ThreadTimer, IntervalZeroDisabledOrNoHandlerStopsTheTicks) {
    TThreadTimer timer;
    timer.SetInterval(20);
    std::atomic<int> ticks{0};
    timer.SetOnTimer([&] { ++ticks; });
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 5000);

    timer.SetInterval(0);
    EXPECT_FALSE(timer.Ticking());
    Pump(30);
    int before = ticks;
    Pump(150);
    EXPECT_EQ(ticks, before);

    timer.SetInterval(20);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Ticking());
    Pump(150);
    EXPECT_EQ(ticks, before);

    timer.SetEnabled(true);
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.Ticking());
    Pump(150);
    EXPECT_EQ(ticks, before);
}

TEST(ThreadTimer, NotThreadedUsesATimerOfTheUserInterfaceThread) {
    TThreadTimer timer;
    timer.SetThreaded(false);
    timer.SetInterval(20);
    std::atomic<int> ticks{0};
    timer.SetOnTimer([&] { ++ticks; });
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 5000);
    timer.SetThreaded(true);  // back to the thread, still ticking
    int before = ticks;
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= before + 2, 5000);
}

TEST(ThreadTimer, DestroyedWhileATickRunsOnItsThread) {
    std::atomic<bool> inside{false};
    {
        TThreadTimer timer;
        timer.SetSyncEvent(false);
        timer.SetInterval(5);
        timer.SetOnTimer([&] {
            inside = true;
            QThread::msleep(50);
        });
        QElapsedTimer clock;
        clock.start();
        while (!inside && clock.elapsed() < 5000) QThread::msleep(1);
    }  // must wait for the tick to finish, not crash
    EXPECT_TRUE(inside);
}

}  // namespace
}  // namespace dorvanel::images
