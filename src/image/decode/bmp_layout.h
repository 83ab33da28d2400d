#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vexilon {

enum class BmpCompression : std::uint32_t {
    None = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

// One channel of a pixel of 16 or 32 bits: where it lies and how wide it is.
struct BmpChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

struct BmpColour {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
};

// What a BMP file states about its pixel rows.
struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0; // always positive; topDown carries the sign
    bool topDown = false;
    unsigned bits = 0; // 1, 4, 8, 16, 24 or 32
    BmpCompression compression = BmpCompression::None;
    std::uint64_t pixelOffset = 0;
    std::uint64_t stride = 0;     // bytes of one stored row, uncompressed
    std::vector<BmpColour> table; // the entries the file holds, for 1 to 8 bits
    // Red, green, blue and alpha for 16 and 32 bits; no alpha mask means opaque.
    std::array<BmpChannel, 4> channels{};

    bool compressed() const {
        return compression == BmpCompression::Rle8 || compression == BmpCompression::Rle4;
    }
    bool hasAlpha() const { return channels[3].mask != 0; }
};

// The BMP decoder's opening checks on the start of a file (the headers and
// the colour table, as far as the bytes given hold them): signature "BM" or
// "BA", a core or an info header of 40 bytes or more, width > 0, height not
// 0, and a depth with a compression that go together: 1, 4, 8 or 24 bits
// uncompressed, RLE8 at 8 bits, RLE4 at 4 bits, 16, 24 or 32 bits
// uncompressed or with bit fields. Run-length rows are stored bottom first only.
std::optional<BmpLayout> readBmpLayout(std::span<const std::uint8_t> head);

// Whether the picture is within the size limit and, for uncompressed rows,
// whether a file of fileSize bytes holds all of them.
bool bmpFitsFile(const BmpLayout& layout, std::uint64_t fileSize);

// Whether the layout is that of the intermediate image: 24 bits, uncompressed.
inline bool isPlain24(const BmpLayout& layout) {
    return layout.bits == 24 && layout.compression == BmpCompression::None;
}

} // namespace vexilon
