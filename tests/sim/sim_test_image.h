#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace vexilon::sim::test {

// The 32,830 bytes the console uploads, written out by hand from the
// documented layout (not by the code under test): all white but `dots`,
// given as (x, y) with y counted from the top row.
inline std::vector<std::uint8_t> imageData(const std::vector<std::pair<int, int>>& dots) {
    std::vector<std::uint8_t> data(32830, 0xFF);
    const std::vector<std::uint8_t> header{
        'B', 'M', 0x3E, 0x80, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,                    // file header
        40, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 1, 0, 1, 0,                        // 40, 512, 512, 1
                                                                                // plane, 1 bit
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // no compression
        0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};                                       // black, white
    std::copy(header.begin(), header.end(), data.begin());
    for (const auto& [x, y] : dots) {
        data[static_cast<std::size_t>(62 + 64 * y + x / 8)] &=
            static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
    }
    return data;
}

} // namespace vexilon::sim::test
