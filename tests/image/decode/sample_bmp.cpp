#include "image/bitmap/bmp_builder.h"
#include "sample_writers.h"

#include <algorithm>

namespace vexilon::samples {

Bytes writeBmp(const RgbPicture& picture, const BmpOptions& o) {
    const auto w = static_cast<std::uint32_t>(picture.width);
    const auto h = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t stride = (w * static_cast<std::uint32_t>(o.bits) + 31) / 32 * 4;
    test::BmpFields f{.width = picture.width,
                      .height = o.topDown && !o.coreHeader ? -picture.height : picture.height,
                      .bits = static_cast<std::uint16_t>(o.bits),
                      .compression = o.compression,
                      .resolution = 2835,
                      .coreHeader = o.coreHeader};
    // The three masks of bit fields stand where the table would: each has a
    // zero top byte, so it is written as a table entry would be.
    if (o.compression == 3) {
        const std::array<std::uint32_t, 3> usual = o.bits == 16
                                                       ? std::array{0x7C00U, 0x03E0U, 0x001FU}
                                                       : std::array{0xFF0000U, 0xFF00U, 0xFFU};
        for (const std::uint32_t mask : o.masks[0] != 0 ? o.masks : usual) {
            f.table.push_back({static_cast<std::uint8_t>(mask >> 16),
                               static_cast<std::uint8_t>(mask >> 8),
                               static_cast<std::uint8_t>(mask)});
        }
    }
    const std::uint32_t colours = o.bits > 8           ? 0
                                  : o.coloursUsed != 0 ? o.coloursUsed
                                                       : 1U << o.bits;
    f.coloursUsed = o.coloursUsed;
    for (std::uint32_t i = 0; i < colours; ++i) {
        const auto grey = static_cast<std::uint8_t>(colours == 1 ? 0 : i * 255 / (colours - 1));
        f.table.push_back({grey, grey, grey});
    }
    if (o.compression == 1 || o.compression == 2) {
        f.pixels.resize(2 * h);                  // an end of line for every row
        f.pixels.insert(f.pixels.end(), {0, 1}); // end of bitmap
    } else {
        f.pixels.resize(stride * h, 0);
        f.pixels[0] = o.bits == 24 ? 0 : o.firstPixel;
        for (std::uint32_t i = 0; i < h && o.bits == 24; ++i) {
            const std::uint32_t y = o.topDown ? i : h - 1 - i;
            for (std::uint32_t x = 0; x < w; ++x) {
                const std::uint8_t* px =
                    picture.at(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
                std::reverse_copy(px, px + 3, &f.pixels[i * stride + 3 * x]); // blue first
            }
        }
    }
    f.imageSize = static_cast<std::uint32_t>(f.pixels.size());
    return test::buildBmp(f);
}

} // namespace vexilon::samples
