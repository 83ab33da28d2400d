#pragma once

#include "image/decode/bmp24_image.h"

#include <cstdint>
#include <cstdio>

namespace vexilon {

enum class ReducedDecode {
    NotReduced, // not a JPEG this can reduce, or not worth it: decode it whole
    Decoded,    // `image` holds the reduced picture
};

// Decodes a JPEG file at the smallest of libjpeg's scales 1/8 .. 4/8 that
// still gives at least the size the picture is fitted to, so that a large
// photograph costs a fraction of its full decode (the scaled transform
// averages each block, and the fitting averages the rest). Anything it cannot settle (another
// format, a scale above 4/8, a damaged file) is left to the full decoders,
// which then decide what the picture is. The picture's own size comes back
// in width and height whenever the header could be read.
ReducedDecode decodeReducedJpeg(std::FILE* file, std::int32_t& width, std::int32_t& height,
                                Bmp24Image& image);

} // namespace vexilon
