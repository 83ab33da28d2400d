#include "image/decode/over_white.h"

namespace vexilon {

void putOverWhite(const std::uint8_t* bgra, std::int32_t width, std::uint8_t* bgr) {
    for (std::int32_t x = 0; x < width; ++x, bgra += 4, bgr += 3) {
        bgr[0] = overWhite(bgra[0], bgra[3]);
        bgr[1] = overWhite(bgra[1], bgra[3]);
        bgr[2] = overWhite(bgra[2], bgra[3]);
    }
}

} // namespace vexilon
