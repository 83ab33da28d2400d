#pragma once

#include "image/decode/bmp24_image.h"
#include "image/decode/bmp_layout.h"

#include <cstdint>
#include <span>

namespace vexilon {

// Stored rows of any uncompressed depth into the image, top row first.
// False when a pixel indexes past the colour table.
bool readUncompressedRows(std::span<const std::uint8_t> file, const BmpLayout& layout,
                          Bmp24Image& image);

// Run-length rows (RLE8, RLE4) into the image. Pixels the runs skip are
// white, and what a row runs on past the width is dropped. False for pixels
// past the last row, a skip past the picture, or an index past the colour
// table; a stream that ends early ends the picture there.
bool readRunLengthRows(std::span<const std::uint8_t> file, const BmpLayout& layout,
                       Bmp24Image& image);

// A table entry as blue, green, red; false past the table.
inline bool putEntry(const BmpLayout& layout, unsigned index, std::uint8_t* out) {
    if (index >= layout.table.size()) {
        return false;
    }
    const BmpColour& c = layout.table[index];
    out[0] = c.blue;
    out[1] = c.green;
    out[2] = c.red;
    return true;
}

} // namespace vexilon
