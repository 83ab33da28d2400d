#pragma once

#include "image/decode/convert.h"
#include "sample_picture.h"

#include <array>

namespace vexilon::samples {

// The decoders' result for a file held in memory, with the intermediate
// image's bytes when there is one.
inline int decodeBytes(const Bytes& file, Bytes* intermediate = nullptr) {
    Bmp24Image image;
    const int result = decodePicture(file, image);
    if (intermediate != nullptr) {
        intermediate->assign(image.bytes().begin(), image.bytes().end());
    }
    return result;
}

// Red, green, blue of pixel (x, y), y from the top, read back from an
// intermediate image by its own header.
inline std::array<int, 3> rgbAt(const Bytes& bmp, std::int32_t x, std::int32_t y) {
    const auto le = [&](std::size_t at) {
        return static_cast<std::int32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                         bmp[at + 3] << 24);
    };
    const std::int32_t width = le(18);
    const std::int32_t height = le(22);
    const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t at =
        54 + stride * static_cast<std::size_t>(height - 1 - y) + 3 * static_cast<std::size_t>(x);
    return {bmp[at + 2], bmp[at + 1], bmp[at]};
}

} // namespace vexilon::samples
