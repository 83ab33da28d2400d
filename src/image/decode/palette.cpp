#include "image/decode/palette.h"

namespace vexilon {

void expandIndexedRow(const std::uint8_t* indices, std::uint8_t* bgr, std::int32_t width,
                      const Palette& palette) {
    for (std::int32_t x = 0; x < width; ++x) {
        std::size_t i = indices[x];
        if (i >= palette.count) {
            i = 0;
        }
        const std::uint8_t* entry = &palette.rgb[3 * i];
        const std::uint8_t r = entry[0];
        const std::uint8_t g = entry[1];
        const std::uint8_t b = entry[2];
        bgr[3 * x] = b;
        bgr[3 * x + 1] = g;
        bgr[3 * x + 2] = r;
    }
}

} // namespace vexilon
