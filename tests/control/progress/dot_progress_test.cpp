#include "control/progress/dot_progress.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(DotProgress, CountsEachDotOnceAndOnlyOnTheWorkArea) {
    DotProgress progress;
    progress.setTotal(4);
    EXPECT_TRUE(progress.add(0, 0));
    EXPECT_TRUE(progress.add(511, 511));
    EXPECT_FALSE(progress.add(0, 0)); // a repaint, or a row skipped back
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {512, 0}, {0, 512}}) {
        EXPECT_FALSE(progress.add(x, y)) << x << "," << y;
    }
    EXPECT_EQ(progress.done(), 2);
    EXPECT_DOUBLE_EQ(progress.fraction(), 0.5);

    progress.restart();
    EXPECT_EQ(progress.done(), 0);
    EXPECT_TRUE(progress.add(0, 0)); // counted afresh after a restart
    progress.setTotal(1);
    EXPECT_EQ(progress.done(), 0); // a new image starts from nothing

    // More dots than uploaded never pass a hundred percent.
    progress.add(1, 1);
    progress.add(2, 2);
    EXPECT_DOUBLE_EQ(progress.fraction(), 1.0);
    EXPECT_EQ(progress.secondsLeft(5), 0);
}

TEST(DotProgress, TimeLeftFollowsTheRateOfTheClock) {
    DotProgress progress;
    progress.setTotal(1000);
    EXPECT_FALSE(progress.secondsLeft(10)); // no dot yet
    for (int x = 0; x < 100; ++x) {
        progress.add(x, 0);
    }
    EXPECT_FALSE(progress.secondsLeft(0));
    EXPECT_EQ(progress.secondsLeft(10), 90); // 10 dots a second, 900 to go
    EXPECT_EQ(progress.secondsLeft(3), 27);  // 33.3 a second: 27 s, rounded up
}

TEST(ProgressText, ReadsAsASentence) {
    struct Case {
        std::int64_t done, total;
        std::optional<std::int64_t> left;
        const char* text;
    };
    for (const Case& c : {
             Case{12345, 67890, 14 * 60, "12,345 of 67,890 dots (18%), about 14 min left"},
             Case{0, 262144, std::nullopt, "0 of 262,144 dots (0%)"},
             Case{999, 1000, 59, "999 of 1,000 dots (99%), less than a minute left"},
             Case{1, 3, 89, "1 of 3 dots (33%), about 1 min left"},
             Case{1, 3, 90, "1 of 3 dots (33%), about 2 min left"},
             Case{5, 10, 2 * 3600 + 5 * 60, "5 of 10 dots (50%), about 2 h 5 min left"},
             Case{0, 0, std::nullopt, "0 of 0 dots (100%)"},
             Case{2, 1, std::nullopt, "2 of 1 dots (100%)"},
         }) {
        EXPECT_EQ(progressText(c.done, c.total, c.left), c.text);
    }
    EXPECT_EQ(groupedNumber(-1234567), "-1,234,567");
    EXPECT_EQ(groupedNumber(100), "100");
}

} // namespace
} // namespace vexilon
