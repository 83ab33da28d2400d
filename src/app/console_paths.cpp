#include "app/console_paths.h"

#include "app/paths.h"

namespace vexilon {

ConsolePaths ConsolePaths::standard(const std::filesystem::path& executableDirectory) {
    return ConsolePaths{vexilon::settingsDirectory(), settingsFilePath(),
                        vexilon::portLinkDirectory(),
                        vexilon::programDirectory(executableDirectory)};
}

} // namespace vexilon
