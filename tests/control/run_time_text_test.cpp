#include "control/burning_time_value.h"
#include "control/run_time_text.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(RunTimeText, PadsMinutesAndSecondsToTwoDigitsAndLetsMinutesGrow) {
    EXPECT_EQ(runTimeText(0), kRunTimeZeroText);
    EXPECT_EQ(runTimeText(1), "Run time :  00:01");
    EXPECT_EQ(runTimeText(59), "Run time :  00:59");
    EXPECT_EQ(runTimeText(60), "Run time :  01:00");
    EXPECT_EQ(runTimeText(65), "Run time :  01:05");
    EXPECT_EQ(runTimeText(599), "Run time :  09:59");
    EXPECT_EQ(runTimeText(600), "Run time :  10:00");
    EXPECT_EQ(runTimeText(6000), "Run time :  100:00");
    EXPECT_EQ(runTimeText(2147483647), "Run time :  35791394:07");
}

TEST(BurningTimeValue, SendsPositionsInRangeUnchangedAndClampsTheRest) {
    EXPECT_EQ(burningTimeByte(1), 1);
    EXPECT_EQ(burningTimeByte(120), 120);
    EXPECT_EQ(burningTimeByte(240), 240);
    // 500 would be 244 in its low byte: a command code, never a burning time.
    EXPECT_EQ(burningTimeByte(500), 240);
    EXPECT_EQ(burningTimeByte(241), 240);
    EXPECT_EQ(burningTimeByte(0), 1);
    EXPECT_EQ(burningTimeByte(-3), 1);
    EXPECT_EQ(burningTimeText(500), "Burning Time: 500");
    EXPECT_EQ(burningTimeText(0), "Burning Time: 0");
}

} // namespace
} // namespace vexilon
