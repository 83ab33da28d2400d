#pragma once

#include "image/decode/bmp24_image.h"
#include "image/pipeline/area_average.h"
#include "image/pipeline/fitting.h"

#include <cstdint>
#include <string>

namespace vexilon {

// A picture file as intake needs it: its own size (for the log and the
// fitting) and its pixels, possibly already reduced on the way in.
struct IntakePicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    Placement placement;
    // The whole picture, or a reduction of it no smaller than the placement.
    Bmp24Image pixels;
};

// Decodes the picture file at path (any format the decoders take) in memory.
// False for an empty path, a missing file, a file that is not a regular file
// (a named pipe is never opened for long enough to block), and anything no
// decoder accepts; `picture` is then left as it was.
bool decodeForIntake(const std::string& path, IntakePicture& picture);

// The picture's pixels scaled to its placement's size.
PixelImage fittedPixels(const IntakePicture& picture);

} // namespace vexilon
