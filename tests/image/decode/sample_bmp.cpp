#include "sample_writers.h"

namespace vexilon::samples {
namespace {

void put(Bytes& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

} // namespace

Bytes writeBmp(const RgbPicture& picture, const BmpOptions& o) {
    const auto w = static_cast<std::uint32_t>(picture.width);
    const auto h = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t info = o.coreHeader ? 12 : 40;
    const std::uint32_t masks = o.compression == 3 ? 12 : 0;
    const std::uint32_t colours = o.bits <= 8 ? (1u << o.bits) : 0;
    const std::uint32_t table = colours * (o.coreHeader ? 3 : 4);
    const std::uint32_t stride = (w * static_cast<std::uint32_t>(o.bits) + 31) / 32 * 4;
    const bool rle = o.compression == 1 || o.compression == 2;
    const std::uint32_t pixels = rle ? 2 * h + 2 : stride * h;
    const std::uint32_t offset = 14 + info + masks + table;

    Bytes out{'B', 'M'};
    put(out, offset + pixels, 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, info, 4);
    if (o.coreHeader) {
        put(out, w, 2);
        put(out, h, 2);
        put(out, 1, 2);
        put(out, static_cast<std::uint32_t>(o.bits), 2);
    } else {
        put(out, w, 4);
        put(out, o.topDown ? 0u - h : h, 4);
        put(out, 1, 2);
        put(out, static_cast<std::uint32_t>(o.bits), 2);
        put(out, o.compression, 4);
        put(out, pixels, 4);
        put(out, 2835, 4);
        put(out, 2835, 4);
        put(out, 0, 4);
        put(out, 0, 4);
    }
    if (masks != 0) {
        const bool five = o.bits == 16;
        put(out, five ? 0x7C00 : 0xFF0000, 4);
        put(out, five ? 0x03E0 : 0x00FF00, 4);
        put(out, five ? 0x001F : 0x0000FF, 4);
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint32_t grey = i * 255 / (colours - 1);
        put(out, grey * 0x010101, o.coreHeader ? 3 : 4);
    }
    if (rle) {
        for (std::uint32_t y = 0; y < h; ++y) {
            put(out, 0, 2); // end of line
        }
        put(out, 0x0100, 2); // end of bitmap
        return out;
    }
    for (std::uint32_t i = 0; i < h; ++i) {
        const std::uint32_t y = o.topDown ? i : h - 1 - i;
        const std::size_t start = out.size();
        out.resize(start + stride, 0);
        if (o.bits != 24) {
            continue;
        }
        for (std::uint32_t x = 0; x < w; ++x) {
            const std::uint8_t* px =
                picture.at(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
            out[start + 3 * x] = px[2];
            out[start + 3 * x + 1] = px[1];
            out[start + 3 * x + 2] = px[0];
        }
    }
    return out;
}

} // namespace vexilon::samples
