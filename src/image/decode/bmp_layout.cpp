#include "image/decode/bmp_layout.h"

#include "image/decode/byte_order.h"
#include "image/decode/decode_limits.h"

namespace vexilon {
namespace {

constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitFields = 3;

} // namespace

std::optional<Bmp24Layout> readBmp24Layout(std::span<const std::uint8_t> head) {
    if (head.size() < 18 || head[0] != 'B' || (head[1] != 'M' && head[1] != 'A')) {
        return std::nullopt;
    }
    const std::uint8_t* p = head.data();
    const std::uint32_t headerSize = le32(p + 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kCompressionNone;
    if (headerSize == kCoreHeader && head.size() >= 26) {
        width = le16(p + 18);
        height = le16(p + 20);
        bits = le16(p + 24);
    } else if (headerSize >= kInfoHeader && head.size() >= 34) {
        width = static_cast<std::int32_t>(le32(p + 18));
        height = static_cast<std::int32_t>(le32(p + 22));
        bits = le16(p + 28);
        compression = le32(p + 30);
    } else {
        return std::nullopt;
    }
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
    layout.pixelOffset = le32(p + 10);
    layout.stride = (3 * static_cast<std::uint64_t>(width) + 3) & ~std::uint64_t{3};
    return layout;
}

bool bmp24FitsFile(const Bmp24Layout& layout, std::uint64_t fileSize) {
    if (layout.width > kMaxPictureSide || layout.height > kMaxPictureSide) {
        return false;
    }
    // Both factors are bounded now; the sum stays far below 2^64.
    const std::uint64_t end =
        layout.pixelOffset + layout.stride * static_cast<std::uint64_t>(layout.height);
    return end <= fileSize;
}

} // namespace vexilon
