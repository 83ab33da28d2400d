#include "app/settings/console_paths.h"

#include <cstdlib>
#include <string_view>
#include <system_error>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace vexilon {
namespace {

// A base directory counts only when it is an absolute path: a relative one
// would move with the working directory.
std::optional<std::filesystem::path> absolute(const std::optional<std::string>& value) {
    if (value && !value->empty() && value->front() == '/') {
        return std::filesystem::path(*value);
    }
    return std::nullopt;
}

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// The home directory the password database gives this account, when it is
// one that exists (service accounts often name /nonexistent).
std::optional<std::string> accountHomeDirectory() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir) {
        return std::nullopt;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(found->pw_dir, error)) {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

std::optional<std::filesystem::path> baseDirectory(const PlaceSources& sources,
                                                   const std::optional<std::string>& xdg,
                                                   std::string_view belowHome) {
    if (auto base = absolute(xdg)) {
        return base;
    }
    auto home = absolute(sources.home);
    if (!home) {
        home = absolute(sources.accountHome);
    }
    if (home) {
        return *home / belowHome;
    }
    return std::nullopt;
}

// A fresh directory only this user can enter, for a run without a home.
std::filesystem::path privateScratchDirectory() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / "Vexilon-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

} // namespace

PlaceSources PlaceSources::current() {
    PlaceSources sources{variable("XDG_CONFIG_HOME"), variable("XDG_CACHE_HOME"), variable("HOME"),
                         std::nullopt};
    if (!absolute(sources.home)) {
        sources.accountHome = accountHomeDirectory();
    }
    return sources;
}

ConsolePaths ConsolePaths::standard(const std::filesystem::path& executableDirectory) {
    return from(PlaceSources::current(), executableDirectory);
}

ConsolePaths ConsolePaths::from(const PlaceSources& sources,
                                const std::filesystem::path& executableDirectory) {
    ConsolePaths paths;
    if (const auto config = baseDirectory(sources, sources.configHome, ".config")) {
        paths.settingsDirectory = *config / "Vexilon";
        paths.settingsFile = paths.settingsDirectory / "Config.ini";
        paths.portLinkDirectory = paths.settingsDirectory / "ports";
    }
    if (!executableDirectory.empty() && ::access(executableDirectory.c_str(), W_OK) == 0) {
        paths.programDirectory = executableDirectory;
    } else if (const auto cache = baseDirectory(sources, sources.cacheHome, ".cache")) {
        paths.programDirectory = *cache / "Vexilon";
        std::error_code ignored;
        std::filesystem::create_directories(paths.programDirectory, ignored);
    } else {
        paths.programDirectory = privateScratchDirectory();
        paths.scratchProgramDirectory = true;
    }
    return paths;
}

} // namespace vexilon
