#include "sim/program/sim_options.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vexilon::sim {
namespace {

TEST(SimOptions, ReadsEveryOptionAndDefaultsToTheRealLine) {
    const ProgramOptions defaults = parseProgramOptions({});
    EXPECT_EQ(defaults.machine.port, 0);
    EXPECT_EQ(defaults.machine.pace, Pace::LineRate);
    EXPECT_EQ(defaults.machine.logLevel, LogLevel::Normal);
    EXPECT_TRUE(defaults.error.empty());

    const ProgramOptions all =
        parseProgramOptions({"--port", "3", "--pace", "fast", "--no-verify", "--late-verify",
                             "--noise", "7", "--hang-up-after", "250", "--version-report",
                             "--work-piece", "/tmp/p.png", "--ports", "/tmp/ports", "-v"});
    ASSERT_EQ(all.error, "");
    EXPECT_EQ(all.machine.port, 3);
    EXPECT_EQ(all.machine.pace, Pace::Fast);
    EXPECT_TRUE(all.machine.faults.neverAnswerVerify);
    EXPECT_TRUE(all.machine.faults.lateVerify);
    EXPECT_EQ(all.machine.faults.noiseEvery, 7);
    EXPECT_EQ(all.machine.faults.hangUpAfterDots, 250);
    EXPECT_TRUE(all.machine.versionReport);
    EXPECT_EQ(all.workPiecePng, "/tmp/p.png");
    EXPECT_EQ(all.linkDirectory, "/tmp/ports");
    EXPECT_EQ(all.machine.logLevel, LogLevel::Verbose);
    EXPECT_EQ(parseProgramOptions({"-q"}).machine.logLevel, LogLevel::Quiet);
    EXPECT_EQ(parseProgramOptions({"--pace", "bursts"}).machine.pace, Pace::Bursts);
    EXPECT_TRUE(parseProgramOptions({"--help"}).help);
}

TEST(SimOptions, RefusesWhatItCannotRead) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--port"},
                                               {"--port", "0"},
                                               {"--port", "3x"},
                                               {"--port", "10000"},
                                               {"--pace", "slow"},
                                               {"--noise", "-1"},
                                               {"--hang-up-after", "0"},
                                               {"--bogus"}}) {
        EXPECT_FALSE(parseProgramOptions(bad).error.empty()) << bad.front();
    }
}

TEST(SimOptions, PortFolderFollowsTheConsoleSettingsDirectory) {
    ::setenv("XDG_CONFIG_HOME", "/x/config", 1);
    ::setenv("XDG_CACHE_HOME", "relative", 1); // not absolute: ignored
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(consolePortDirectory(), "/x/config/Vexilon/ports");
    EXPECT_EQ(defaultWorkPiecePng(), "/home/u/.cache/Vexilon/work-piece.png");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(consolePortDirectory(), "/home/u/.config/Vexilon/ports");
}

} // namespace
} // namespace vexilon::sim
