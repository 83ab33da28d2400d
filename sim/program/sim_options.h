#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "sim/port/simulated_machine.h"

namespace vexilon::sim {

struct ProgramOptions {
    Options machine;
    std::filesystem::path linkDirectory; // empty: the console's port folder
    std::filesystem::path workPiecePng;  // empty: the default place
    bool help = false;
    std::string error; // set when the command line could not be read
};

// Reads the command line (without the program name).
ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments);

std::string programHelp();

// The console's port folder: $XDG_CONFIG_HOME/Vexilon/ports, or
// ~/.config/Vexilon/ports.
std::filesystem::path consolePortDirectory();

// $XDG_CACHE_HOME/Vexilon/work-piece.png, or ~/.cache/Vexilon/work-piece.png.
std::filesystem::path defaultWorkPiecePng();

} // namespace vexilon::sim
