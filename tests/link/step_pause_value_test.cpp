#include "link/protocol/step_pause_value.h"

#include <gtest/gtest.h>

#include <string_view>

namespace vexilon::protocol {
namespace {

TEST(StepPauseValue, LowEightBitsOfTheLeadingWholeNumber) {
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
        // Far beyond any integer type: still exactly its low byte.
        {u"99999999999999999999", 255},
        {u"-12345678901234567890123", 256 - 203},
    };
    for (auto [text, value] : cases) {
        EXPECT_EQ(stepPauseValue(text), value) << std::string(text.begin(), text.end());
    }
}

TEST(StepPauseValue, FullWidthFormsCountAsTheirAsciiTwins) {
    EXPECT_EQ(stepPauseValue(u"\uFF13\uFF10\uFF10"), 44);      // ３００
    EXPECT_EQ(stepPauseValue(u"\u3000\uFF0D\uFF11"), 255);     // 　－１
    EXPECT_EQ(stepPauseValue(u"\uFF12\uFF15\uFF41"), 25);      // ２５ａ
    EXPECT_EQ(stepPauseValue(u"\uFF10\uFF10\uFF0E\uFF19"), 0); // ００．９
    EXPECT_EQ(stepPauseValue(u"\u0663\u0665"), 0); // other scripts' digits are no digits
}

} // namespace
} // namespace vexilon::protocol
