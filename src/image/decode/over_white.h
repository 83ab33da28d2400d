#pragma once

#include <cstdint>

namespace vexilon {

// Transparency is shown over white, as on paper: a fully transparent pixel
// is white, an opaque one keeps its colour, and one between is its colour
// blended with white by its alpha, rounded to the nearest value.
constexpr std::uint8_t overWhite(std::uint8_t colour, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// `width` pixels of blue, green, red, alpha become blue, green, red over white.
void putOverWhite(const std::uint8_t* bgra, std::int32_t width, std::uint8_t* bgr);

} // namespace vexilon
