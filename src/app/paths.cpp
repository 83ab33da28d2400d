#include "app/paths.h"

#include <cstdlib>
#include <system_error>

#include <unistd.h>

namespace vexilon {
namespace {

// An XDG base directory variable counts only when it holds an absolute path;
// otherwise the fallback below $HOME applies.
std::filesystem::path xdgBase(const char* variable, const char* fallbackBelowHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    std::filesystem::path base = (home && home[0]) ? home : "/tmp";
    return base / fallbackBelowHome;
}

} // namespace

std::filesystem::path settingsDirectory() {
    return xdgBase("XDG_CONFIG_HOME", ".config") / "Vexilon";
}

std::filesystem::path settingsFilePath() {
    return settingsDirectory() / "Config.ini";
}

std::filesystem::path portLinkDirectory() {
    return settingsDirectory() / "ports";
}

std::filesystem::path programDirectory(const std::filesystem::path& executableDirectory) {
    if (!executableDirectory.empty() && ::access(executableDirectory.c_str(), W_OK) == 0) {
        return executableDirectory;
    }
    std::filesystem::path cache = xdgBase("XDG_CACHE_HOME", ".cache") / "Vexilon";
    std::error_code ignored;
    std::filesystem::create_directories(cache, ignored);
    return cache;
}

} // namespace vexilon
