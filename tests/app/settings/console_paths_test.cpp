#include "app/settings/console_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

// No executable directory to write into (root may write anywhere), so that
// the program directory comes from the sources.
const fs::path kReadOnly;

TEST(ConsolePaths, SettingsGoUnderTheXdgDirectoryOrTheHomeDirectory) {
    struct Case {
        PlaceSources sources;
        const char* settings;
        const char* program;
    };
    const Case cases[] = {
        {{"/x/config", "/x/cache", "/home/u", "/home/a"}, "/x/config/Vexilon", "/x/cache/Vexilon"},
        {{"x/config", std::nullopt, "/home/u", std::nullopt},
         "/home/u/.config/Vexilon",
         "/home/u/.cache/Vexilon"},
        // No $HOME, or a relative one: the account's home, never /tmp.
        {{std::nullopt, std::nullopt, std::nullopt, "/home/a"},
         "/home/a/.config/Vexilon",
         "/home/a/.cache/Vexilon"},
        {{std::nullopt, "/x/cache", "home", "/home/a"}, "/home/a/.config/Vexilon", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        // Creating the cache directory may fail here; the path is what counts.
        const ConsolePaths paths = ConsolePaths::from(c.sources, kReadOnly);
        EXPECT_EQ(paths.settingsDirectory, c.settings);
        EXPECT_EQ(paths.portLinkDirectory, fs::path(c.settings) / "ports");
        if (c.program != nullptr) {
            EXPECT_EQ(paths.programDirectory, c.program);
        }
        EXPECT_FALSE(paths.scratchProgramDirectory);
    }
}

TEST(ConsolePaths, WithoutAnyHomeSettingsStayInMemoryAndThePreviewGoesPrivate) {
    const PlaceSources nothing;
    const ConsolePaths paths = ConsolePaths::from(nothing, kReadOnly);
    EXPECT_TRUE(paths.settingsInMemory());
    EXPECT_TRUE(paths.settingsDirectory.empty());
    EXPECT_TRUE(paths.portLinkDirectory.empty());

    ASSERT_TRUE(paths.scratchProgramDirectory);
    struct stat status {};
    ASSERT_EQ(::stat(paths.programDirectory.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode, S_IFDIR | 0700u);
    EXPECT_EQ(status.st_uid, ::getuid());
    fs::remove(paths.programDirectory);
}

TEST(ConsolePaths, ASessionWithoutHomeUsesThePasswordDatabase) {
    const passwd* account = ::getpwuid(::getuid());
    if (account == nullptr || !fs::is_directory(account->pw_dir)) {
        GTEST_SKIP() << "this account has no home directory";
    }
    const std::string home = account->pw_dir;
    const char* savedHome = std::getenv("HOME");
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string keptHome = savedHome ? savedHome : "";
    const std::string keptConfig = savedConfig ? savedConfig : "";
    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    const ConsolePaths paths = ConsolePaths::standard(kReadOnly);
    if (savedHome) {
        ::setenv("HOME", keptHome.c_str(), 1);
    }
    if (savedConfig) {
        ::setenv("XDG_CONFIG_HOME", keptConfig.c_str(), 1);
    }
    EXPECT_EQ(paths.settingsDirectory, fs::path(home) / ".config" / "Vexilon");
}

} // namespace
} // namespace vexilon
