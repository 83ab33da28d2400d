#pragma once

#include "image/bitmap/dib.h"
#include "image/bitmap/rgb.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vexilon {

// The colour table a new image of the given depth gets: black and white for
// 1 bit, the sixteen classic VGA colours for 4 bits, a 6 x 6 x 6 colour cube
// followed by 40 greys for 8 bits, none for deeper images.
std::vector<TableEntry> standardColourTable(unsigned bits);

// Index of the table entry nearest to the colour by the sum of squared channel
// differences, the lowest index on a tie; 0 for an empty table.
std::uint32_t nearestEntry(std::span<const TableEntry> table, Rgb colour);

} // namespace vexilon
