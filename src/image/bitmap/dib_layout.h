#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// Size arithmetic for device-independent images. Every figure comes from
// header fields that may be hostile, so each computation is checked and
// refuses sizes beyond what the console could ever want to hold.
namespace vexilon {

// Upper bound for the pixel rows of any image we hold or make: a 512 x 512
// picture needs 1 MiB at 32 bits, so this leaves room for odd uses while
// keeping a hostile header from asking for gigabytes.
inline constexpr std::size_t kMaxPixelBytes = std::size_t{256} * 1024 * 1024;

bool isSupportedDepth(std::int64_t bits);

// Colour table entries implied by the depth: 2^bits up to 8 bits, else none.
std::size_t impliedTableEntries(unsigned bits);

// Bytes of one stored row, padded to a multiple of 4; nullopt when width is
// not positive or the row alone exceeds kMaxPixelBytes.
std::optional<std::size_t> rowStride(std::int64_t width, unsigned bits);

// Bytes of all rows; nullopt when a dimension is not positive or the total
// exceeds kMaxPixelBytes.
std::optional<std::size_t> pixelBytes(std::int64_t width, std::int64_t rows, unsigned bits);

} // namespace vexilon
