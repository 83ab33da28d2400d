#include "support/qt_environment.h"

#include "ui/base/interval_timer.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

namespace vexilon {
namespace {

// Starts the timer at 400 ms, sets `newInterval` `delayMs` after its first
// tick, and returns the times of the first three ticks.
std::vector<qint64> ticksWithChange(IntervalTimer& timer, int delayMs, int newInterval) {
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> ticks;
    QObject::connect(&timer, &IntervalTimer::tick, &timer, [&] {
        ticks.push_back(clock.elapsed());
        if (ticks.size() == 1) {
            QTimer::singleShot(delayMs, &timer, [&] { timer.setIntervalMs(newInterval); });
        }
    });
    timer.setIntervalMs(400);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 3; }, 5000));
    timer.setIntervalMs(0);
    return ticks;
}

TEST(IntervalTimer, TheSameIntervalKeepsThePhaseANewOneRestartsWithItsPeriodAndZeroOrLessStops) {
    IntervalTimer same;
    std::vector<qint64> ticks = ticksWithChange(same, 200, 400);
    ASSERT_GE(ticks.size(), 2u);
    // Kept: the second tick 400 ms after the first; restarted: 600 ms. The
    // first tick's handler may run late on a loaded machine while the timer
    // keeps its schedule, so the gap can come out a little short.
    EXPECT_GE(ticks[1] - ticks[0], 360);
    EXPECT_LT(ticks[1] - ticks[0], 500);
    EXPECT_FALSE(same.isRunning());

    IntervalTimer changed;
    ticks = ticksWithChange(changed, 100, 150);
    ASSERT_GE(ticks.size(), 3u);
    // Restarted 100 ms after the first tick with 150 ms: the next at 250.
    EXPECT_GE(ticks[1] - ticks[0], 240);
    EXPECT_LT(ticks[1] - ticks[0], 325);
    EXPECT_GE(ticks[2] - ticks[1], 110);
    EXPECT_LT(ticks[2] - ticks[1], 225);

    // Stopped above after running at 150: 150 is a new interval again. Below 0 is 0.
    changed.setIntervalMs(150);
    EXPECT_TRUE(changed.isRunning());
    changed.setIntervalMs(-5);
    EXPECT_FALSE(changed.isRunning());
    EXPECT_EQ(changed.intervalMs(), 0);
}

} // namespace
} // namespace vexilon
