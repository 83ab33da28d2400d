#pragma once

// Writes BMP files for the tests field by field, independently of the
// library's own writer, so that a fault in one is not hidden by the other.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vexilon::test {

struct BmpFields {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t resolution = 0;
    std::uint32_t coloursUsed = 0;
    bool coreHeader = false;
    std::vector<std::array<std::uint8_t, 3>> table{}; // red, green, blue
    std::vector<std::uint8_t> pixels{};               // the stored rows
};

inline void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

inline std::vector<std::uint8_t> buildBmp(const BmpFields& f) {
    const std::uint32_t headerSize = f.coreHeader ? 12 : 40;
    const std::uint32_t entrySize = f.coreHeader ? 3 : 4;
    const auto offset = 14 + headerSize + entrySize * static_cast<std::uint32_t>(f.table.size());
    std::vector<std::uint8_t> out{'B', 'M'};
    put(out, offset + static_cast<std::uint32_t>(f.pixels.size()), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, headerSize, 4);
    if (f.coreHeader) {
        put(out, static_cast<std::uint32_t>(f.width), 2);
        put(out, static_cast<std::uint32_t>(f.height), 2);
        put(out, 1, 2);
        put(out, f.bits, 2);
    } else {
        for (std::uint32_t value :
             {static_cast<std::uint32_t>(f.width), static_cast<std::uint32_t>(f.height),
              1U | (f.bits << 16U), f.compression, f.imageSize,
              static_cast<std::uint32_t>(f.resolution), static_cast<std::uint32_t>(f.resolution),
              f.coloursUsed, 0U}) {
            put(out, value, 4);
        }
    }
    for (const auto& [red, green, blue] : f.table) {
        out.insert(out.end(), {blue, green, red});
        if (!f.coreHeader) {
            out.push_back(0);
        }
    }
    out.insert(out.end(), f.pixels.begin(), f.pixels.end());
    return out;
}

// A 24-bit picture whose pixel (x, y), y from the top, has colour(x, y).
inline std::vector<std::uint8_t>
picture24(int width, int height,
          const std::function<std::array<std::uint8_t, 3>(int, int)>& colour) {
    BmpFields f{.width = width, .height = height};
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const auto [red, green, blue] = colour(x, height - 1 - row);
            f.pixels.insert(f.pixels.end(), {blue, green, red});
        }
        f.pixels.resize(f.pixels.size() + static_cast<std::size_t>((4 - width * 3 % 4) % 4), 0);
    }
    return buildBmp(f);
}

} // namespace vexilon::test
