#include "image/decode/bmp24_image.h"

#include "image/decode/byte_order.h"
#include "image/decode/decode_limits.h"

#include <cstring>

namespace vexilon {

bool Bmp24Image::allocate(std::int32_t width, std::int32_t height) {
    data_.reset();
    size_ = 0;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) {
        return false;
    }
    // Both sides are bounded above, so neither product can overflow.
    const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
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
    std::uint8_t* h = data_.get();
    std::memset(h, 0, kHeaderBytes);
    h[0] = 'B';
    h[1] = 'M';
    // At most 54 + 16384 x 49152 bytes, well inside 32 bits.
    putLe32(h + 2, static_cast<std::uint32_t>(size_));
    putLe32(h + 10, kHeaderBytes);
    putLe32(h + 14, 40);
    putLe32(h + 18, static_cast<std::uint32_t>(width_));
    putLe32(h + 22, static_cast<std::uint32_t>(height_));
    putLe16(h + 26, 1);
    putLe16(h + 28, 24);
    const std::size_t used = 3 * static_cast<std::size_t>(width_);
    for (std::int32_t y = 0; y < height_ && used < stride_; ++y) {
        std::memset(row(y) + used, 0, stride_ - used);
    }
}

} // namespace vexilon
