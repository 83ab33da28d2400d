#include "image/decode/bmp24_image.h"

#include "image/bmp/bmp_headers.h"
#include "image/decode/decode_limits.h"

#include <cstring>

namespace vexilon {

bool Bmp24Image::allocate(std::int32_t width, std::int32_t height) {
    data_.reset();
    size_ = 0;
    if (!pictureSizeAllowed(width, height)) {
        return false;
    }
    // The size is bounded, so no product can overflow.
    const auto stride =
        static_cast<std::size_t>(bmpRowStride(static_cast<std::uint64_t>(width), 24));
    const std::size_t size = kHeaderBytes + stride * static_cast<std::size_t>(height);
    // Not initialised: the pages stay untouched until a row is written, so a
    // file that fails early costs little.
    data_ = allocateLargeBuffer(size);
    if (!data_) {
        return false;
    }
    size_ = size;
    stride_ = stride;
    width_ = width;
    height_ = height;
    return true;
}

void Bmp24Image::finish() {
    InfoHeader info;
    info.width = width_;
    info.height = height_;
    info.bitCount = 24;
    // The pixel limit keeps the file far below 4 GiB: the header always fits.
    writeBmpHeaders(data_.get(), info, 0, size_ - kHeaderBytes);
    const std::size_t used = 3 * static_cast<std::size_t>(width_);
    for (std::int32_t y = 0; y < height_ && used < stride_; ++y) {
        std::memset(row(y) + used, 0, stride_ - used);
    }
}

} // namespace vexilon
