#pragma once

#include <cstdint>

namespace vexilon {

// One pixel's colour, whatever the depth of the image that holds it.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

} // namespace vexilon
