#include "image/decode/bmp_pixels.h"

#include "image/bmp/little_endian.h"
#include "image/decode/over_white.h"

#include <cstring>

namespace vexilon {
namespace {

// A channel of b bits widened to 8 by repeating its bits, so that its
// largest value becomes 255 and its smallest 0.
std::uint8_t widen(std::uint32_t pixel, const BmpChannel& channel) {
    if (channel.bits == 0) {
        return 0;
    }
    const std::uint32_t value = (pixel & channel.mask) >> channel.shift;
    if (channel.bits >= 8) {
        return static_cast<std::uint8_t>(value >> (channel.bits - 8));
    }
    std::uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += channel.bits) {
        const int shift = 8 - filled - channel.bits;
        out |= shift >= 0 ? value << shift : value >> -shift;
    }
    return static_cast<std::uint8_t>(out);
}

void putMasked(const BmpLayout& layout, std::uint32_t pixel, std::uint8_t* out) {
    const auto& ch = layout.channels;
    const std::uint8_t blue = widen(pixel, ch[2]);
    const std::uint8_t green = widen(pixel, ch[1]);
    const std::uint8_t red = widen(pixel, ch[0]);
    if (!layout.hasAlpha()) {
        out[0] = blue;
        out[1] = green;
        out[2] = red;
        return;
    }
    const std::uint8_t alpha = widen(pixel, ch[3]);
    out[0] = overWhite(blue, alpha);
    out[1] = overWhite(green, alpha);
    out[2] = overWhite(red, alpha);
}

bool readIndexedRow(const std::uint8_t* in, const BmpLayout& layout, std::uint8_t* out) {
    const unsigned bits = layout.bits;
    const unsigned perByte = 8 / bits;
    const unsigned mask = (1U << bits) - 1;
    for (std::int64_t x = 0; x < layout.width; ++x, out += 3) {
        const unsigned byte = in[x / perByte];
        const unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % perByte));
        if (!putEntry(layout, (byte >> shift) & mask, out)) {
            return false;
        }
    }
    return true;
}

void readMaskedRow(const std::uint8_t* in, const BmpLayout& layout, std::uint8_t* out) {
    const std::span<const std::uint8_t> row(in, static_cast<std::size_t>(layout.stride));
    for (std::int64_t x = 0; x < layout.width; ++x, out += 3) {
        const auto at = static_cast<std::size_t>(x);
        const std::uint32_t pixel =
            layout.bits == 16 ? le::read16(row, 2 * at) : le::read32(row, 4 * at);
        putMasked(layout, pixel, out);
    }
}

} // namespace

bool readUncompressedRows(std::span<const std::uint8_t> file, const BmpLayout& layout,
                          Bmp24Image& image) {
    for (std::int32_t y = 0; y < image.height(); ++y) {
        const std::size_t fileRow = layout.topDown
                                        ? static_cast<std::size_t>(y)
                                        : static_cast<std::size_t>(image.height() - 1 - y);
        const std::uint8_t* in = file.data() + layout.pixelOffset + fileRow * layout.stride;
        std::uint8_t* out = image.row(y);
        if (layout.bits == 24) {
            std::memcpy(out, in, 3 * static_cast<std::size_t>(layout.width));
        } else if (layout.bits <= 8) {
            if (!readIndexedRow(in, layout, out)) {
                return false;
            }
        } else {
            readMaskedRow(in, layout, out);
        }
    }
    return true;
}

} // namespace vexilon
