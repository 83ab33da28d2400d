#pragma once

#include "image/decode/bmp24_image.h"

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

// The decoded picture scaled to width x height by area averaging: every
// target pixel is the mean of the source area it covers, each source pixel
// weighted by the exact part of it that falls inside. At the picture's own
// size this is a plain copy. Empty when the picture or the size is empty.
PixelImage scaleByAreaAverage(const Bmp24Image& picture, int width, int height);

} // namespace vexilon
