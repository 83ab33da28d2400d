#pragma once

#include "image/bitmap/rgb.h"

#include <vector>

namespace vexilon {

// A ruler label: black ink on white, row by row from the top.
struct GlyphImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Renders the digit '0' or '5' (anything else gives a blank cell) into a cell
// of about 7 x 9 pixels. Each colour channel is sampled at its own third of
// the pixel, as on a striped LCD, so the edges come out faintly coloured.
GlyphImage renderDigit(char digit, int width, int height);

} // namespace vexilon
