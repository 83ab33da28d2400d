#include "control/burning_time_value.h"
#include "control/run_time_text.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(RunTimeText, PadsMinutesAndSecondsToTwoDigitsAndLetsMinutesGrow) {
    EXPECT_EQ(runTimeText(0), kRunTimeZeroText);
    EXPECT_EQ(runTimeText(59), "Run time :  00:59");
    EXPECT_EQ(runTimeText(65), "Run time :  01:05");
    EXPECT_EQ(runTimeText(600), "Run time :  10:00");
    EXPECT_EQ(runTimeText(6000), "Run time :  100:00");
    EXPECT_EQ(runTimeText(2147483647), "Run time :  35791394:07");
}

TEST(BurningTimeValue, SendsPositionsInRangeUnchangedAndClampsTheRest) {
    // 500 would be 244 in its low byte: a command code, never a burning time.
    for (const auto& [position, byte] :
         {std::pair{1, 1}, {120, 120}, {240, 240}, {241, 240}, {500, 240}, {0, 1}, {-3, 1}}) {
        EXPECT_EQ(burningTimeByte(position), byte) << position;
    }
    EXPECT_EQ(burningTimeText(0), "Burning Time: 0");
}

} // namespace
} // namespace vexilon
