#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

namespace vexilon {
namespace {

using test::entryCount;
using test::readBytes;
using test::TemporaryDirectory;
using test::writeBytes;
namespace fs = std::filesystem;

class SettingsWriteFailure : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    fs::path file = dir / "Config.ini";
    const std::string before = "[S]\nK=old\n";
};

TEST_F(SettingsWriteFailure, MissingOrBlockedDirectoryIsSilent) {
    EXPECT_FALSE(writeSettingsItem(dir / "missing" / "Config.ini", "S", "K", "v"));
    writeBytes(dir / "plain", "x");
    EXPECT_FALSE(writeSettingsItem(dir / "plain" / "Config.ini", "S", "K", "v"));
    fs::create_directory(file);
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "v"));
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(entryCount(dir.path()), 2u);
}

// Without any write permission bit the file counts as read-only even for root,
// so the rename cannot quietly replace it.
TEST_F(SettingsWriteFailure, ReadOnlyFileIsKept) {
    writeBytes(file, before);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "new"));
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(entryCount(dir.path()), 1u);
    EXPECT_EQ(readSettingsItem(file, "S", "K", "d"), "old");
}

// Permissions that root bypasses: a read-only directory, and a file that
// cannot be read and so must not be mistaken for an empty one.
TEST_F(SettingsWriteFailure, PermissionsBindOrdinaryUsers) {
    writeBytes(file, before);
    fs::permissions(file, fs::perms::owner_write);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.path().c_str(), W_OK) == 0) {
        fs::permissions(dir.path(), fs::perms::owner_all);
        GTEST_SKIP() << "permissions do not bind this user (root)";
    }
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "new"));
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(readSettingsItem(file, "S", "K", "d"), "d");
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "new"));
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(entryCount(dir.path()), 1u);
}

// A failing write part-way (as on a full disk) must leave the old file and no
// temporary file behind. A file size limit makes the write fail even for root.
TEST_F(SettingsWriteFailure, FailedWriteLeavesOldFileAndNoTemporary) {
    writeBytes(file, before);
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
    EXPECT_EQ(entryCount(dir.path()), 1u);
}

TEST_F(SettingsWriteFailure, KeepsPermissionBitsAndSymbolicLinks) {
    writeBytes(file, before);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("Config.ini", dir / "link.ini");
    EXPECT_TRUE(writeSettingsItem(dir / "link.ini", "S", "K", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(readBytes(file), "[S]\nK=new\n");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entryCount(dir.path()), 2u);
}

} // namespace
} // namespace vexilon
