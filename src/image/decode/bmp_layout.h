#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vexilon {

// Where the pixel rows of a 24-bit BMP file lie.
struct Bmp24Layout {
    std::int64_t width = 0;
    std::int64_t height = 0; // always positive; topDown carries the sign
    bool topDown = false;
    std::uint64_t pixelOffset = 0;
    std::uint64_t stride = 0;
};

// The BMP decoder's opening checks on the start of a file (at least the first
// 54 bytes where the file has them): signature "BM" or "BA", a core or an
// info header of 40 bytes or more, width > 0, height not 0, compression none,
// RLE8, RLE4 or bit fields, and 24 bits per pixel once RLE8 counts as 8 and
// RLE4 as 4. Anything else is no 24-bit BMP.
std::optional<Bmp24Layout> readBmp24Layout(std::span<const std::uint8_t> head);

// Whether the picture is within the size limit and a file of fileSize bytes
// holds all of its pixel rows.
bool bmp24FitsFile(const Bmp24Layout& layout, std::uint64_t fileSize);

} // namespace vexilon
