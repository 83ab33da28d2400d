#pragma once

#include <cstdint>
#include <vector>

namespace vexilon {

// The two ruler pictures drawn along the right and bottom edges of the
// preview canvas: 24-bit BMP files of 18,486 bytes, white with black ticks
// every 512/38 pixels, a "0" or "5" at every fifth tick and a 2-pixel base
// line. Built on first use and kept for the life of the process.

// 12 x 512: base line in columns 10 and 11, ticks in columns 7 to 9, labels
// in columns 0 to 6.
const std::vector<std::uint8_t>& verticalRulerStrip();

// 512 x 12: base line in rows 10 and 11, ticks in rows 8 and 9, labels in
// rows 0 to 7, and a black bar over columns 509 to 511.
const std::vector<std::uint8_t>& horizontalRulerStrip();

} // namespace vexilon
