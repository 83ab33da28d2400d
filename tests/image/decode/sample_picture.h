#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vexilon::samples {

using Bytes = std::vector<std::uint8_t>;

// The bytes of a file; a file of these bytes, made or truncated.
Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);

// Pixels of a test picture, top row first, red, green, blue each.
struct RgbPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    Bytes rgb;

    std::uint8_t* at(std::int32_t x, std::int32_t y) {
        return &rgb[3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x))];
    }
    const std::uint8_t* at(std::int32_t x, std::int32_t y) const {
        return &rgb[3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x))];
    }
};

// Every channel varies with position, so swapped channels, mirrored rows or
// shifted columns all show. colours > 0 limits the picture to that many
// distinct colours (at most 256) for palette formats.
RgbPicture patternPicture(std::int32_t width, std::int32_t height, int colours = 0);

// A picture as palette indices and a table (red, green, blue per entry).
struct IndexedPicture {
    Bytes palette;
    Bytes indices;
};
// Throws std::invalid_argument for more than 256 colours.
IndexedPicture indexColours(const RgbPicture& picture);

// The intermediate image that should come of the picture: 24 bits, bottom
// row first, rows padded with zeros. Written independently of the decoders.
Bytes intermediateOf(const RgbPicture& picture);

} // namespace vexilon::samples
