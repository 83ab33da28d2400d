#include "app/settings/settings_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexilon {
namespace {

constexpr std::int32_t maxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t minInt = std::numeric_limits<std::int32_t>::min();

TEST(SettingsNumber, TextToInt) {
    // clang-format off
    const std::pair<std::string, std::int32_t> cases[] = {
        // Leading number only; no number gives 0.
        {"500", 500}, {"-3", -3}, {"abc", 0}, {"", 0}, {" \t+42xyz", 42}, {"3 4", 3}, {"- 5", 0},
        {"750e-1", 75}, {"2e+", 2}, {".5", 0}, {"5.", 5}, {"0x1F", 0}, {"inf", 0},
        {"1e-999999999999999999", 0},
        // Only a fraction beyond 1 - 1e-12 goes to the next integer.
        {"75.9", 75}, {"74.9999999999999", 75}, {"74.999999999999", 74},
        {"74.9999999999990001", 75}, {"0.09999999999999", 0}, {"7.49999999999999e1", 75},
        {"-74.9999999999999", -75},
        // Rounding down goes towards minus infinity.
        {"-3.5", -4}, {"-1e-30", -1}, {"-3.000", -3},
        // Saturation at the 32-bit ends.
        {"2147483647.9999999999999", maxInt}, {"2147483648", maxInt}, {"9999999999", maxInt},
        {"-2147483648.5", minInt}, {"-2147483649", minInt}, {"1e999999999999999999", maxInt},
        {std::string(20000, '9'), maxInt}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(settingsTextToInt(text), expected) << '"' << text << '"';
    }
}

TEST(SettingsNumber, IntToTextRoundTrips) {
    EXPECT_EQ(intToSettingsText(-3), "-3");
    for (const std::int32_t value : {0, 60, -1, 65280, maxInt, minInt}) {
        EXPECT_EQ(settingsTextToInt(intToSettingsText(value)), value);
    }
}

} // namespace
} // namespace vexilon
