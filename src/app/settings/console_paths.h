#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vexilon {

// What the console's places are made from: the XDG base directory variables
// and $HOME as the session gives them, and the account's home directory from
// the password database for a session without $HOME.
struct PlaceSources {
    std::optional<std::string> configHome; // $XDG_CONFIG_HOME
    std::optional<std::string> cacheHome;  // $XDG_CACHE_HOME
    std::optional<std::string> home;       // $HOME
    std::optional<std::string> accountHome;

    static PlaceSources current();
};

// The places the console reads and writes. The console proper takes them as
// values so that it can be run against scratch directories.
//
// Settings: $XDG_CONFIG_HOME/Vexilon, or .config/Vexilon in the home
// directory ($HOME, else the account's). Without any of these the settings
// paths are empty and the settings are kept in memory for the run: never a
// shared directory such as /tmp, where another user could plant them.
struct ConsolePaths {
    std::filesystem::path settingsDirectory;
    std::filesystem::path settingsFile;      // Config.ini inside it
    std::filesystem::path portLinkDirectory; // "COM<n>" links pin devices to numbers
    // Where the preview file lives: the executable's directory when it is
    // writable, else $XDG_CACHE_HOME/Vexilon or .cache/Vexilon in the home
    // directory, created on demand; without a home, a private directory made
    // for the run (scratchProgramDirectory), which closing removes.
    std::filesystem::path programDirectory;
    // Where the USB serial devices that take the unpinned port numbers live.
    std::filesystem::path deviceDirectory = "/dev";
    bool scratchProgramDirectory = false;

    bool settingsInMemory() const { return settingsFile.empty(); }

    static ConsolePaths standard(const std::filesystem::path& executableDirectory);
    static ConsolePaths from(const PlaceSources& sources,
                             const std::filesystem::path& executableDirectory);
};

} // namespace vexilon
