#include "link/serial_line_errors.h"

#include <gtest/gtest.h>

#include <climits>

namespace vexilon {
namespace {

TEST(SerialLineErrors, ChangedCountersRaiseBreakThenOneLineError) {
    LineErrorCounts before{5, 0, 0, INT_MAX, 0};
    LineErrorCounts after = before;
    EXPECT_TRUE(lineEventsBetween(before, after).empty());

    after.parityErrors = 2;
    after.overruns = INT_MIN; // the driver's counter wrapped
    EXPECT_EQ(lineEventsBetween(before, after), std::vector<int>{PortEventLineError});

    after.breaks = 6;
    EXPECT_EQ(lineEventsBetween(before, after),
              (std::vector<int>{PortEventBreak, PortEventLineError}));
}

} // namespace
} // namespace vexilon
