#include "sim/port/line_pace.h"

#include <gtest/gtest.h>

namespace vexilon::sim {
namespace {

using namespace std::chrono_literals;

TEST(LinePace, KeepsToTheLineRateWithoutBurstsAfterARest) {
    LinePace pace(true);
    const auto start = LinePace::Clock::now();
    pace.rest(start);
    EXPECT_EQ(pace.allowance(start), 0u);
    EXPECT_EQ(pace.allowance(start + 1s), 5760u);
    EXPECT_EQ(pace.allowance(start + 250ms), 1440u); // 1,152 reports a second
    pace.spent(1440);
    EXPECT_EQ(pace.allowance(start + 250ms), 0u);
    EXPECT_EQ(pace.waitMs(start + 250ms), 1);

    // A quiet hour earns no credit.
    pace.rest(start + 1h);
    EXPECT_EQ(pace.allowance(start + 1h), 0u);
    EXPECT_EQ(pace.allowance(start + 1h + 10ms), 57u);

    // Reading caps its credit instead: what waits unread cannot be seen.
    LinePace reading(true);
    reading.rest(start);
    reading.capCredit(start + 1h, 64);
    EXPECT_EQ(reading.allowance(start + 1h), 64u);
    reading.spent(64);
    reading.capCredit(start + 1h, 64);
    EXPECT_EQ(reading.allowance(start + 1h), 0u);

    LinePace unpaced(false);
    EXPECT_GE(unpaced.allowance(start), 4096u);
    EXPECT_EQ(unpaced.waitMs(start), 0);
}

// Behind a USB adapter the same rate comes in lumps every 16 ms.
TEST(LinePace, InBurstsTheSameRateComesAtEachPeriodsStart) {
    LinePace pace(true, 16ms);
    const auto start = LinePace::Clock::now();
    pace.rest(start);
    EXPECT_EQ(pace.allowance(start + 15ms), 0u);
    EXPECT_EQ(pace.waitMs(start + 15ms), 1);
    EXPECT_EQ(pace.allowance(start + 16ms), 92u);
    pace.spent(92);
    EXPECT_EQ(pace.allowance(start + 31ms), 0u);
    EXPECT_EQ(pace.waitMs(start + 20ms), 12);
    EXPECT_EQ(pace.allowance(start + 1s), 5713u - 92u); // 62 whole periods: 992 ms
}

} // namespace
} // namespace vexilon::sim
