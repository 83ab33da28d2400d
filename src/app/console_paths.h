#pragma once

#include <filesystem>

namespace vexilon {

// The places the console reads and writes. The console proper takes them as
// values so that it can be run against scratch directories.
struct ConsolePaths {
    std::filesystem::path settingsDirectory;
    std::filesystem::path settingsFile;
    std::filesystem::path portLinkDirectory;
    std::filesystem::path programDirectory;
    // Where the USB serial devices that take the unpinned port numbers live.
    std::filesystem::path deviceDirectory = "/dev";

    static ConsolePaths standard(const std::filesystem::path& executableDirectory);
};

inline constexpr const char* kPreviewFileName = "Engraving Preview.bmp";

} // namespace vexilon
