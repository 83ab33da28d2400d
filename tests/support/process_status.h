#pragma once

#include <fstream>
#include <string>

namespace vexilon::test_support {

// A number field of /proc/self/status ("VmRSS" and "VmHWM" in KiB,
// "Threads"); -1 when the field is missing.
inline long processStatusField(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ':', 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

} // namespace vexilon::test_support
