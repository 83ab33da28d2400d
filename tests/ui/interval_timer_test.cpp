#include "qt_environment.h"

#include "ui/interval_timer.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

namespace vexilon {
namespace {

// Records when each tick arrives and, once, changes the interval a fixed
// time after the first tick.
struct TickLog {
    explicit TickLog(IntervalTimer& timer) {
        clock.start();
        QObject::connect(&timer, &IntervalTimer::tick,
                         [this] { ticks.push_back(clock.elapsed()); });
    }
    void changeAfterFirstTick(IntervalTimer& timer, int delayMs, int newInterval) {
        QObject::connect(
            &timer, &IntervalTimer::tick, &timer, [&timer, this, delayMs, newInterval] {
                if (ticks.size() == 1) {
                    QTimer::singleShot(delayMs, &timer,
                                       [&timer, newInterval] { timer.setIntervalMs(newInterval); });
                }
            });
    }
    bool waitForTicks(std::size_t n) {
        return QTest::qWaitFor([&] { return ticks.size() >= n; }, 5000);
    }
    QElapsedTimer clock;
    std::vector<qint64> ticks;
};

TEST(IntervalTimer, SettingTheSameIntervalKeepsThePhase) {
    IntervalTimer timer;
    TickLog log(timer);
    log.changeAfterFirstTick(timer, 200, 400);
    timer.setIntervalMs(400);
    ASSERT_TRUE(log.waitForTicks(2));
    // Kept: the second tick 400 ms after the first; restarted: 600 ms.
    EXPECT_LT(log.ticks[1] - log.ticks[0], 500);
    EXPECT_GE(log.ticks[1] - log.ticks[0], 390);
    EXPECT_TRUE(timer.isRunning());
}

TEST(IntervalTimer, ANewIntervalRestartsWithThatPeriod) {
    IntervalTimer timer;
    TickLog log(timer);
    log.changeAfterFirstTick(timer, 100, 150);
    timer.setIntervalMs(400);
    ASSERT_TRUE(log.waitForTicks(3));
    // Restarted at 100 ms after the first tick with 150 ms: the next at 250.
    EXPECT_GE(log.ticks[1] - log.ticks[0], 240);
    EXPECT_LT(log.ticks[1] - log.ticks[0], 325);
    EXPECT_GE(log.ticks[2] - log.ticks[1], 140);
    EXPECT_EQ(timer.intervalMs(), 150);
}

TEST(IntervalTimer, ZeroOrLessStops) {
    for (const int stop : {0, -5}) {
        IntervalTimer timer;
        TickLog log(timer);
        EXPECT_FALSE(timer.isRunning());
        timer.setIntervalMs(30);
        ASSERT_TRUE(log.waitForTicks(1));
        timer.setIntervalMs(stop);
        EXPECT_FALSE(timer.isRunning());
        EXPECT_EQ(timer.intervalMs(), 0);
        const std::size_t stoppedAt = log.ticks.size();
        bool sentinel = false;
        QTimer::singleShot(150, [&] { sentinel = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return sentinel; }));
        EXPECT_EQ(log.ticks.size(), stoppedAt);
    }
}

} // namespace
} // namespace vexilon
