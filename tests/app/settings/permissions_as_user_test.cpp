#include "app/settings/console_paths.h"
#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

// These run as an ordinary user (under root the suite drops to an unused
// uid). Each first checks that the permission really binds, so that a run as
// root fails instead of passing on nothing.
bool writable(const fs::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

// A read-only directory, and a file that cannot be read and so must not be
// taken for an empty one and overwritten.
TEST(SettingsAsOrdinaryUser, NeitherAReadOnlyDirectoryNorAnUnreadableFileIsOverwritten) {
    test::TemporaryDirectory dir;
    const fs::path file = dir / "Config.ini";
    const std::string before = "[S]\nK=old\n";
    test::writeBytes(file, before);

    fs::permissions(file, fs::perms::owner_write);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_FALSE(writable(dir.path())) << "permissions do not bind this user";
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "new"));
    fs::permissions(dir.path(), fs::perms::owner_all);

    EXPECT_EQ(readSettingsItem(file, "S", "K", "d"), "d");
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "new"));
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(test::readBytes(file), before);
    EXPECT_EQ(test::entryCount(dir.path()), 1);
}

// An installed console's directory is not the user's: the preview file goes
// to the user's cache instead.
TEST(PreviewPlaceAsOrdinaryUser, AnUnwritableProgramDirectorySendsThePreviewToTheCache) {
    test::TemporaryDirectory dir;
    const fs::path program = dir / "bin";
    fs::create_directory(program);
    const PlaceSources sources{(dir / "config").string(), (dir / "cache").string(), std::nullopt,
                               std::nullopt};

    EXPECT_EQ(ConsolePaths::from(sources, program).programDirectory, program);
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_FALSE(writable(program)) << "permissions do not bind this user";
    const ConsolePaths paths = ConsolePaths::from(sources, program);
    EXPECT_EQ(paths.programDirectory, dir / "cache" / "Vexilon");
    EXPECT_TRUE(fs::is_directory(paths.programDirectory));
    EXPECT_TRUE(writable(paths.programDirectory));
    fs::permissions(program, fs::perms::owner_all);
}

} // namespace
} // namespace vexilon
