#pragma once

#include "image/decode/bmp_layout.h"
#include "image/decode/convert.h"

#include <cstdlib>
#include <span>

namespace vexilon::fuzz {

// Decodes `file`; a picture it takes must read back as a plain 24-bit image
// of the size it was made for.
inline void decodeAndCheck(std::span<const std::uint8_t> file) {
    Bmp24Image image;
    if (decodePicture(file, image) != kConvertOk) {
        return;
    }
    const auto layout = readBmpLayout(image.bytes());
    if (!layout || !isPlain24(*layout) || !bmpFitsFile(*layout, image.bytes().size()) ||
        layout->width != image.width() || layout->height != image.height() ||
        image.bytes().size() != Bmp24Image::kHeaderBytes + image.stride() * layout->height) {
        std::abort();
    }
}

} // namespace vexilon::fuzz
