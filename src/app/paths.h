#pragma once

#include <filesystem>

namespace vexilon {

// Where the console keeps its settings file and the links that pin serial
// devices to port numbers: $XDG_CONFIG_HOME/Vexilon, or ~/.config/Vexilon.
std::filesystem::path settingsDirectory();

// The settings file inside the settings directory.
std::filesystem::path settingsFilePath();

// Where serial devices are linked to port numbers ("COM<n>" inside it).
std::filesystem::path portLinkDirectory();

// Where the preview file lives: the executable's directory when it is
// writable, else $XDG_CACHE_HOME/Vexilon (~/.cache/Vexilon), created on demand.
std::filesystem::path programDirectory(const std::filesystem::path& executableDirectory);

} // namespace vexilon
