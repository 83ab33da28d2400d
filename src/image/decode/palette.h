#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexilon {

// A colour table of up to 256 entries, red, green, blue each.
struct Palette {
    std::array<std::uint8_t, 256 * 3> rgb{};
    std::size_t count = 0;
};

// Turns width palette indices into blue, green, red pixels at bgr. An index
// beyond the table takes entry 0, whatever the file put there.
void expandIndexedRow(const std::uint8_t* indices, std::uint8_t* bgr, std::int32_t width,
                      const Palette& palette);

} // namespace vexilon
