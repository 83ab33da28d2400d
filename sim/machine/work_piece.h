#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vexilon::sim {

// The piece under the laser: which of its 512 x 512 dots were burnt, and with
// which burning time (the longer, the darker the dot).
class WorkPiece {
public:
    static constexpr int kSide = 512;

    WorkPiece();

    void burn(int x, int y, int burningTime);
    bool burnt(int x, int y) const { return burningTime(x, y) != 0; }
    // 0 for a dot never burnt.
    int burningTime(int x, int y) const;
    long long burntCount() const;

    // An 8-bit grey PNG: white where nothing was burnt, darker for longer
    // burning times. False when the file could not be written.
    bool writePng(const std::filesystem::path& path) const;

private:
    std::vector<std::uint8_t> dots_; // row by row from the top
};

} // namespace vexilon::sim
