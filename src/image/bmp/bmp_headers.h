#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The BMP file layout, in one place for every reader and writer of BMP files:
// the 14-byte file header, then an info header (40 bytes, or 12 in the old
// core form), the colour table and the pixel rows, each row padded to a
// multiple of four bytes.
namespace vexilon {

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::uint32_t kCoreHeaderSize = 12;
// File header and 40-byte info header: where the table of a written file starts.
inline constexpr std::size_t kBmpHeadersSize = kBmpFileHeaderSize + kInfoHeaderSize;

// The fields of the 40-byte info header, in file order after the size field.
struct InfoHeader {
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: the top row is stored first
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPixelsPerMetre = 0;
    std::int32_t yPixelsPerMetre = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;

    bool operator==(const InfoHeader&) const = default;
};

// What the headers at the start of a BMP file state.
struct BmpHeaders {
    std::uint8_t signature[2] = {};
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t infoSize = 0; // kCoreHeaderSize, or kInfoHeaderSize or more
    // A core header in the 40-byte form: its 16-bit width, height, planes and
    // depth widened, every other field 0.
    InfoHeader info;

    bool core() const { return infoSize == kCoreHeaderSize; }
    // Bytes of one colour table entry: 3 after a core header, else 4.
    std::size_t tableEntrySize() const { return core() ? 3 : 4; }
};

// Reads the file header and the info header; the signature is not checked,
// as readers accept different ones. Nothing when the info header's size is
// neither 12 nor at least 40, or the bytes end before the fields it holds
// (the first 40 bytes of a longer header).
std::optional<BmpHeaders> readBmpHeaders(std::span<const std::uint8_t> bytes);

// Writes "BM", the file header and the 40-byte info header into out (at least
// kBmpHeadersSize bytes), for a file of those headers, tableBytes of colour
// table and pixelBytes of rows. False, with out untouched, when the file
// would be larger than the 32-bit size field can state.
bool writeBmpHeaders(std::uint8_t* out, const InfoHeader& info, std::uint64_t tableBytes,
                     std::uint64_t pixelBytes);

// Bytes of one stored row: width x bits rounded up to whole 32-bit words.
// Callers bound width and bits so that the product fits 64 bits.
inline std::uint64_t bmpRowStride(std::uint64_t width, unsigned bits) {
    return (width * bits + 31) / 32 * 4;
}

} // namespace vexilon
