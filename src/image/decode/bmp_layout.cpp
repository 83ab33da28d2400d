#include "image/decode/bmp_layout.h"

#include "image/bmp/bmp_headers.h"
#include "image/decode/decode_limits.h"

namespace vexilon {
namespace {

constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitFields = 3;

} // namespace

std::optional<Bmp24Layout> readBmp24Layout(std::span<const std::uint8_t> head) {
    const std::optional<BmpHeaders> headers = readBmpHeaders(head);
    if (!headers || headers->signature[0] != 'B' ||
        (headers->signature[1] != 'M' && headers->signature[1] != 'A')) {
        return std::nullopt;
    }
    const std::int64_t width = headers->info.width;
    const std::int64_t height = headers->info.height;
    std::uint32_t bits = headers->info.bitCount;
    const std::uint32_t compression = headers->info.compression;
    if (width <= 0 || height == 0) {
        return std::nullopt;
    }
    if (compression == kCompressionRle8) {
        bits = 8;
    } else if (compression == kCompressionRle4) {
        bits = 4;
    } else if (compression != kCompressionNone && compression != kCompressionBitFields) {
        return std::nullopt;
    }
    if (bits != 24) {
        return std::nullopt;
    }
    Bmp24Layout layout;
    layout.width = width;
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height; // 64 bits: no overflow at INT32_MIN
    layout.pixelOffset = headers->pixelOffset;
    layout.stride = bmpRowStride(static_cast<std::uint64_t>(width), 24);
    return layout;
}

bool bmp24FitsFile(const Bmp24Layout& layout, std::uint64_t fileSize) {
    if (!pictureSizeAllowed(layout.width, layout.height)) {
        return false;
    }
    // Both factors are bounded now; the sum stays far below 2^64.
    const std::uint64_t end =
        layout.pixelOffset + layout.stride * static_cast<std::uint64_t>(layout.height);
    return end <= fileSize;
}

} // namespace vexilon
