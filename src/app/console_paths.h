#pragma once

#include "image/pipeline/prepared_image.h"

#include <filesystem>

namespace vexilon {

// The places the console reads and writes. The console proper takes them as
// values so that it can be run against scratch directories.
struct ConsolePaths {
    std::filesystem::path settingsDirectory;
    std::filesystem::path settingsFile;
    std::filesystem::path portLinkDirectory;
    std::filesystem::path programDirectory;

    static ConsolePaths standard(const std::filesystem::path& executableDirectory);
};

} // namespace vexilon
