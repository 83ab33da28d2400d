#include "image/decode/bmp_layout.h"

#include "image/bmp/bmp_headers.h"
#include "image/bmp/little_endian.h"
#include "image/decode/decode_limits.h"

#include <bit>

namespace vexilon {
namespace {

// The masks of 16 and 32 bits lie right after the 40-byte part of the info
// header, inside the longer headers (which hold alpha from 56 bytes on) and
// after the plain one alike.
constexpr std::size_t kAlphaInHeader = 56;

bool depthGoesWithCompression(unsigned bits, BmpCompression compression) {
    switch (compression) {
    case BmpCompression::None:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BmpCompression::Rle8:
        return bits == 8;
    case BmpCompression::Rle4:
        return bits == 4;
    case BmpCompression::BitFields:
    case BmpCompression::AlphaBitFields:
        // 24 bits with bit fields is read as plain 24 bits, as it always was.
        return bits == 16 || bits == 24 || bits == 32;
    }
    return false;
}

std::optional<BmpChannel> channelOf(std::uint32_t mask) {
    if (mask == 0) {
        return BmpChannel{};
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    // A channel is one run of bits.
    if (std::countr_one(mask >> shift) != bits) {
        return std::nullopt;
    }
    return BmpChannel{mask, shift, bits};
}

// The masks a file of 16 or 32 bits states, or the usual ones when it
// states none; false when they lie beyond the bytes given.
bool readMasks(std::span<const std::uint8_t> head, const BmpHeaders& headers,
               const BmpLayout& layout, std::array<std::uint32_t, 4>& masks) {
    masks = layout.bits == 32 ? std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0}
                              : std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0};
    if (layout.compression != BmpCompression::BitFields &&
        layout.compression != BmpCompression::AlphaBitFields) {
        return true;
    }
    const std::size_t at = kBmpFileHeaderSize + kInfoHeaderSize;
    const bool alphaToo =
        layout.compression == BmpCompression::AlphaBitFields || headers.infoSize >= kAlphaInHeader;
    const std::size_t count = alphaToo ? 4 : 3;
    if (head.size() < at + 4 * count) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        masks[i] = i < count ? le::read32(head, at + 4 * i) : 0;
    }
    return true;
}

bool readChannels(std::span<const std::uint8_t> head, const BmpHeaders& headers,
                  BmpLayout& layout) {
    std::array<std::uint32_t, 4> masks{};
    if (!readMasks(head, headers, layout, masks)) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<BmpChannel> channel = channelOf(masks[i]);
        if (!channel) {
            return false;
        }
        layout.channels[i] = *channel;
    }
    return true;
}

// The entries the file holds between its headers and its pixels, up to what
// its depth can index (or fewer, when it says it uses fewer).
void readTable(std::span<const std::uint8_t> head, const BmpHeaders& headers, BmpLayout& layout) {
    std::size_t at = kBmpFileHeaderSize + headers.infoSize;
    const std::size_t entry = headers.tableEntrySize();
    std::size_t count = std::size_t{1} << layout.bits;
    if (headers.info.coloursUsed != 0 && headers.info.coloursUsed < count) {
        count = headers.info.coloursUsed;
    }
    for (std::size_t i = 0; i < count; ++i, at += entry) {
        if (at + 3 > head.size() || at + 3 > layout.pixelOffset) {
            return;
        }
        layout.table.push_back({head[at], head[at + 1], head[at + 2]});
    }
}

} // namespace

std::optional<BmpLayout> readBmpLayout(std::span<const std::uint8_t> head) {
    const std::optional<BmpHeaders> headers = readBmpHeaders(head);
    if (!headers || headers->signature[0] != 'B' ||
        (headers->signature[1] != 'M' && headers->signature[1] != 'A')) {
        return std::nullopt;
    }
    const InfoHeader& info = headers->info;
    BmpLayout layout;
    layout.bits = info.bitCount;
    layout.compression = static_cast<BmpCompression>(info.compression);
    if (info.width <= 0 || info.height == 0 ||
        !depthGoesWithCompression(layout.bits, layout.compression) ||
        (layout.compressed() && info.height < 0)) {
        return std::nullopt;
    }
    layout.width = info.width;
    layout.topDown = info.height < 0;
    layout.height = info.height < 0 ? -std::int64_t{info.height} : info.height;
    layout.pixelOffset = headers->pixelOffset;
    layout.stride = bmpRowStride(static_cast<std::uint64_t>(layout.width), layout.bits);
    if (layout.bits <= 8) {
        readTable(head, *headers, layout);
    } else if (layout.bits != 24 && !readChannels(head, *headers, layout)) {
        return std::nullopt;
    }
    return layout;
}

bool bmpFitsFile(const BmpLayout& layout, std::uint64_t fileSize) {
    if (!pictureSizeAllowed(layout.width, layout.height)) {
        return false;
    }
    if (layout.compressed()) {
        return layout.pixelOffset < fileSize;
    }
    // Both factors are bounded now; the sum stays far below 2^64.
    const std::uint64_t end =
        layout.pixelOffset + layout.stride * static_cast<std::uint64_t>(layout.height);
    return end <= fileSize;
}

} // namespace vexilon
