#include "image/bitmap/dib_layout.h"

#include "image/bmp/bmp_headers.h"

namespace vexilon {

bool isSupportedDepth(std::int64_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::size_t impliedTableEntries(unsigned bits) {
    return bits <= 8 ? std::size_t{1} << bits : 0;
}

std::optional<std::size_t> rowStride(std::int64_t width, unsigned bits) {
    // width is at most 2^32 and bits at most 32 here, so the product fits.
    if (width <= 0 || width > INT64_C(0xFFFFFFFF) || bits > 32) {
        return std::nullopt;
    }
    const std::uint64_t stride = bmpRowStride(static_cast<std::uint64_t>(width), bits);
    if (stride > kMaxPixelBytes) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(stride);
}

std::optional<std::size_t> pixelBytes(std::int64_t width, std::int64_t rows, unsigned bits) {
    const auto stride = rowStride(width, bits);
    if (!stride || rows <= 0 || static_cast<std::uint64_t>(rows) > kMaxPixelBytes / *stride) {
        return std::nullopt;
    }
    return *stride * static_cast<std::size_t>(rows);
}

} // namespace vexilon
