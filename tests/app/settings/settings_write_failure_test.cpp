#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

namespace vexilon {
namespace {

namespace fs = std::filesystem;
using test::entryCount;
using test::readBytes;

class SettingsWriteFailure : public ::testing::Test {
protected:
    void SetUp() override { test::writeBytes(file, before); }
    test::TemporaryDirectory dir;
    fs::path file = dir / "Config.ini";
    const std::string before = "[S]\nK=old\n";
};

// A file without any write permission bit counts as read-only, for root too.
TEST_F(SettingsWriteFailure, UnwritableTargetsAreSilentAndKept) {
    EXPECT_FALSE(writeSettingsItem(dir / "missing" / "Config.ini", "S", "K", "v"));
    EXPECT_FALSE(writeSettingsItem(file / "Config.ini", "S", "K", "v"));
    fs::create_directory(dir / "sub");
    EXPECT_FALSE(writeSettingsItem(dir / "sub", "S", "K", "v"));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "new"));
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(entryCount(dir.path()), 2);
}

// A write failing part-way (as on a full disk) leaves the old file and no
// temporary file; a file size limit binds root too.
TEST_F(SettingsWriteFailure, FailedWriteLeavesOldFileAndNoTemporary) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeSettingsItem(file, "S", "K", std::string(8192, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(entryCount(dir.path()), 1);
}

} // namespace
} // namespace vexilon
