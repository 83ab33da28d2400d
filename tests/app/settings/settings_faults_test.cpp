#include "app/settings/settings_file.h"
#include "app/settings/settings_store.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexilon {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

std::set<std::string> names(const fs::path& directory) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(directory)) {
        found.insert(entry.path().filename().string());
    }
    return found;
}

// The number of a process that has ended and been reaped.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(SettingsFileLink, ALinkToAFileNotYetThereCreatesThatFileAndStaysALink) {
    test::TemporaryDirectory dir;
    fs::create_directory(dir / "real");
    fs::create_symlink("real/Settings.ini", dir / "Config.ini");
    const fs::path target = dir / "real" / "Settings.ini";

    EXPECT_EQ(readSettingsItem(dir / "Config.ini", "Setting", "Motor", "35"), "35");
    EXPECT_TRUE(writeSettingsItem(dir / "Config.ini", "Setting", "Motor", "30"));
    EXPECT_TRUE(fs::is_symlink(dir / "Config.ini"));
    EXPECT_EQ(readBytes(target), "[Setting]\nMotor=30\n");

    // A write to an existing target keeps the link and the target's mode.
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode);
    EXPECT_TRUE(writeSettingsItem(dir / "Config.ini", "Setting", "Motor", "31"));
    EXPECT_TRUE(fs::is_symlink(dir / "Config.ini"));
    EXPECT_EQ(readBytes(target), "[Setting]\nMotor=31\n");
    EXPECT_EQ(fs::status(target).permissions(), mode);

    // A loop of links fails instead of hanging.
    fs::create_symlink("Loop.ini", dir / "Loop.ini");
    EXPECT_FALSE(writeSettingsItem(dir / "Loop.ini", "S", "K", "v"));
}

TEST(SettingsFileMark, AByteOrderMarkIsSkippedOnReadingAndKeptOnWriting) {
    test::TemporaryDirectory dir;
    const fs::path file = dir / "Config.ini";
    writeBytes(file, "\xEF\xBB\xBF[Setting]\r\nColor=65280\r\n");
    EXPECT_EQ(readSettingsItem(file, "Setting", "Color", "255"), "65280");
    EXPECT_TRUE(writeSettingsItem(file, "setting", "Motor", "35"));
    EXPECT_EQ(readBytes(file), "\xEF\xBB\xBF[Setting]\r\nColor=65280\r\nMotor=35\r\n");

    // A mark anywhere but at the start is part of the line it stands in.
    EXPECT_EQ(readSettingsText("\n\xEF\xBB\xBF[Setting]\nColor=1\n", "Setting", "Color", "d"), "d");
}

TEST(SettingsFileTemporaries, OnlyThoseOfWritersNoLongerRunningAreRemoved) {
    test::TemporaryDirectory dir;
    const fs::path file = dir / "Config.ini";
    writeBytes(file, "[S]\nK=old\n");
    const std::string dead = std::to_string(endedProcess());
    const std::string alive = std::to_string(::getpid());
    const std::string abandoned = ".Config.ini." + dead + "-1-0.tmp";
    const std::set<std::string> kept = {
        ".Config.ini." + alive + "-2-0.tmp", // its writer still runs
        ".Config.ini." + dead + "-3-0.tmp",  // locked: written from elsewhere
        ".Other.ini." + dead + "-1-0.tmp",   // another file's
        ".Config.ini." + dead + ".tmp",      // not a name a writer gives
        "Config.ini." + dead + "-1-0.tmp",   "Config.ini",
    };
    for (const std::string& name : kept) {
        if (name != "Config.ini") {
            writeBytes(dir / name, "partial");
        }
    }
    writeBytes(dir / abandoned, "partial");
    const int held = ::open((dir / (".Config.ini." + dead + "-3-0.tmp")).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_TRUE(writeSettingsItem(file, "S", "K", "new"));
    ::close(held);
    EXPECT_EQ(names(dir.path()), kept);
    EXPECT_EQ(readBytes(file), "[S]\nK=new\n");
}

// Writers killed in the middle of a write: the next write clears up after
// all of them.
TEST(SettingsFileTemporaries, KilledWritersLeaveNothingAfterTheNextWrite) {
    test::TemporaryDirectory dir;
    const fs::path file = dir / "Config.ini";
    const std::string big(4 << 20, 'x');
    // Whether a writer (any, by default) has a temporary file there.
    const auto writing = [&](const std::string& writer = "") {
        const auto all = names(dir.path());
        return std::any_of(all.begin(), all.end(), [&](const std::string& n) {
            return n.starts_with(".Config.ini." + writer) && n.ends_with(".tmp");
        });
    };
    for (int kill = 0; kill < 6; ++kill) {
        const pid_t writer = ::fork();
        if (writer == 0) {
            for (;;) {
                writeSettingsItem(file, "S", "K", big);
            }
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!writing(std::to_string(writer) + "-") &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
    }
    EXPECT_TRUE(writing());

    EXPECT_TRUE(writeSettingsItem(file, "S", "K", "small"));
    EXPECT_EQ(names(dir.path()), std::set<std::string>{"Config.ini"});
    EXPECT_EQ(readSettingsItem(file, "S", "K", ""), "small");
}

TEST(SettingsStore, InMemoryItKeepsWhatWasWrittenForTheRun) {
    SettingsStore memory{fs::path()};
    EXPECT_TRUE(memory.inMemory());
    EXPECT_EQ(memory.read("Setting", "Motor", "35"), "35");
    EXPECT_TRUE(memory.write("Setting", "Motor", " 7 "));
    EXPECT_TRUE(memory.write("setting", "Color", "255"));
    EXPECT_FALSE(memory.write("Setting", "", "x"));
    EXPECT_EQ(memory.read("SETTING", "motor", "35"), " 7 ");
    EXPECT_EQ(memory.read("Setting", "Color", ""), "255");
}

} // namespace
} // namespace vexilon
