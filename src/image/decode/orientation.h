#pragma once

#include "image/decode/bmp24_image.h"

#include <cstdint>
#include <span>

namespace vexilon {

// The orientation tag (0x0112) of an Exif block, the payload of a JPEG APP1
// marker starting "Exif\0\0": 1 (upright) to 8, as in TIFF. 1 when the block
// holds no such tag, or one that is malformed or points outside the block.
int exifOrientation(std::span<const std::uint8_t> app1);

// Whether pictures of this orientation are stored with their sides swapped.
constexpr bool swapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// Turns `image`, stored in the given orientation, upright. False, with the
// image as it was, when memory for the turned picture cannot be had.
bool turnUpright(Bmp24Image& image, int orientation);

} // namespace vexilon
