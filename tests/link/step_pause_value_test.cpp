#include "link/protocol/step_pause_value.h"

#include <gtest/gtest.h>

#include <string_view>

namespace vexilon::protocol {
namespace {

// Full-width forms count as their ASCII twins; other scripts' digits do not.
TEST(StepPauseValue, LowEightBitsOfTheLeadingWholeNumber) {
    // The last two: far beyond any integer type, still exactly their low byte.
    const std::pair<std::u16string_view, int> cases[] = {
        {u"35", 35},
        {u"300", 44},
        {u"-1", 255},
        {u"+7", 7},
        {u"", 0},
        {u"abc", 0},
        {u" \t 12x5", 12},
        {u"1-2", 1},
        {u"- 5", 0},
        {u"３００", 44},
        {u"\u3000－１", 255},
        {u"２５ａ", 25},
        {u"００．９", 0},
        {u"\u0663\u0665", 0},
        {u"99999999999999999999", 255},
        {u"-12345678901234567890123", 256 - 203},
    };
    for (auto [text, value] : cases) {
        EXPECT_EQ(stepPauseValue(text), value) << std::string(text.begin(), text.end());
    }
}

} // namespace
} // namespace vexilon::protocol
