#include "app/settings/settings_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexilon {
namespace {

constexpr std::int32_t maxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t minInt = std::numeric_limits<std::int32_t>::min();

TEST(SettingsNumber, ReadsLeadingDecimalNumber) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"500", 500},
        {"75.9", 75},
        {"-3", -3},
        {"abc", 0},
        {"", 0},
        {" \t+42xyz", 42},
        {"12abc", 12},
        {"7.5e1", 75},
        {"750e-1", 75},
        {"1e", 1},
        {"2e+", 2},
        {"-", 0},
        {".5", 0},
        {"5.", 5},
        {"0x1F", 0},
        {"inf", 0},
        {"00012", 12},
        {"-0.0", 0},
        {"1e-999999999999999999", 0},
        {"65280", 65280},
        {"- 5", 0},
        {"3 4", 3},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(settingsTextToInt(text), expected) << '"' << text << '"';
    }
}

// Only a fraction beyond 1 - 1e-12 counts as the next integer; exactly at the
// limit it does not.
TEST(SettingsNumber, FractionNearOneRoundsAwayFromZero) {
    EXPECT_EQ(settingsTextToInt("74.9999999999999"), 75);
    EXPECT_EQ(settingsTextToInt("74.999999999999"), 74);
    EXPECT_EQ(settingsTextToInt("74.9999999999990001"), 75);
    EXPECT_EQ(settingsTextToInt("0.9999999999999"), 1);
    EXPECT_EQ(settingsTextToInt("0.09999999999999"), 0);
    EXPECT_EQ(settingsTextToInt("7.49999999999999e1"), 75);
    EXPECT_EQ(settingsTextToInt("-74.9999999999999"), -75);
}

// Rounding down means towards minus infinity for negative values.
TEST(SettingsNumber, NegativeFractionsRoundDown) {
    EXPECT_EQ(settingsTextToInt("-3.5"), -4);
    EXPECT_EQ(settingsTextToInt("-0.5"), -1);
    EXPECT_EQ(settingsTextToInt("-1e-30"), -1);
    EXPECT_EQ(settingsTextToInt("-3.000"), -3);
}

TEST(SettingsNumber, SaturatesBeyondThirtyTwoBits) {
    EXPECT_EQ(settingsTextToInt("2147483647"), maxInt);
    EXPECT_EQ(settingsTextToInt("2147483647.9999999999999"), maxInt);
    EXPECT_EQ(settingsTextToInt("2147483648"), maxInt);
    EXPECT_EQ(settingsTextToInt("-2147483648"), minInt);
    EXPECT_EQ(settingsTextToInt("-2147483648.5"), minInt);
    EXPECT_EQ(settingsTextToInt("-2147483649"), minInt);
    EXPECT_EQ(settingsTextToInt("9999999999"), maxInt);
    EXPECT_EQ(settingsTextToInt("1e999999999999999999"), maxInt);
    EXPECT_EQ(settingsTextToInt("-99999999999999999999999"), minInt);
    EXPECT_EQ(settingsTextToInt(std::string(20000, '9')), maxInt);
}

TEST(SettingsNumber, IntegerTextRoundTrips) {
    EXPECT_EQ(intToSettingsText(0), "0");
    EXPECT_EQ(intToSettingsText(60), "60");
    EXPECT_EQ(intToSettingsText(-3), "-3");
    for (const std::int32_t value : {0, 1, -1, 255, 65280, maxInt, minInt}) {
        EXPECT_EQ(settingsTextToInt(intToSettingsText(value)), value);
    }
}

} // namespace
} // namespace vexilon
