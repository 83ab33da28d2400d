#pragma once

#include "image/decode/bmp24_image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexilon {

// Pixels ready to be drawn: one 32-bit 0xFFRRGGBB value each (the layout of
// an opaque 32-bit screen image), top row first, no padding.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Someone else's pixels, read in place: `step` bytes a pixel, blue, green
// and red first (a 24-bit BMP row, or a 32-bit screen image on a
// little-endian machine), rows `stride` bytes apart from the top row down; a
// negative stride walks a bottom-up file.
struct PixelView {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    int step = 3;

    const std::uint8_t* row(std::int64_t y) const { return top + y * stride; }
};

PixelView pixelView(const Bmp24Image& picture);

// A rectangle of target pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The picture scaled to width x height by area averaging: every target pixel
// is the mean of the source area it covers, each source pixel weighted by
// the exact part of it that falls inside. At the picture's own size this is
// a plain copy. Only the pixels of `part` (clipped to the target) are
// computed, so a huge target costs no more than the part of it that is seen;
// the result has the clipped part's size. Empty when the picture or the part
// is empty.
PixelImage scaleByAreaAverage(const PixelView& picture, int width, int height, PixelRect part);
PixelImage scaleByAreaAverage(const PixelView& picture, int width, int height);

inline PixelImage scaleByAreaAverage(const Bmp24Image& picture, int width, int height) {
    return scaleByAreaAverage(pixelView(picture), width, height);
}

} // namespace vexilon
