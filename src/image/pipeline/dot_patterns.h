#pragma once

#include "image/pipeline/area_average.h"
#include "image/pipeline/picture_mode.h"

#include <cstdint>
#include <vector>

namespace vexilon {

// The grey levels dot patterns work on: red + green + blue of each pixel
// (0 .. 765), after brightness and contrast, row by row.
struct GreyPlane {
    int width = 0;
    int height = 0;
    std::vector<int> sums;
};

// The area of `picture` as grey levels, with brightness and contrast applied
// to each channel first. Brightness adds b x 255 / 100 (truncated); contrast
// k scales the distance from 128 by (100 + k) / 100 below 0 and by
// 100 / (100 - k) above it (100 counts as 99), rounded to the nearest; each
// result is held to 0 .. 255. Both 0 change nothing.
GreyPlane greyLevels(const PixelView& picture, PixelRect area, int brightness, int contrast);

// The dots of the plane by the conversion: one byte a pixel, 1 white, 0 a
// dot to burn, row by row. Threshold is white at 383 and more; the error
// diffusions carry each pixel's error (its level less 0 or 765) on in
// sixteenths (Floyd-Steinberg: 7 right, 3 below left, 5 below, 1 below
// right) or eighths (Atkinson: 1 each to two right, below left, below,
// below right, two below), each share truncated toward zero, rows left to
// right; Ordered compares with the 8 x 8 Bayer matrix; Halftone with a dot
// screen turned 45 degrees, its tile `halftoneCell` dots wide (4, 6 or 8).
std::vector<std::uint8_t> dotPattern(const GreyPlane& plane, Conversion conversion,
                                     int halftoneCell);

// The whole mode: levels, pattern, then white and dots swapped for invert.
std::vector<std::uint8_t> pictureDots(const PixelView& picture, PixelRect area,
                                      const PictureMode& mode);

} // namespace vexilon
