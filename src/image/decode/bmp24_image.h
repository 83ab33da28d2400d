#pragma once

#include "image/bmp/bmp_headers.h"
#include "image/decode/large_buffer.h"

#include <cstddef>

#include <cstdint>
#include <span>

namespace vexilon {

// The intermediate image: a complete 24-bit BMP file image held in memory.
// Decoders write their pixels straight into its rows, so a picture is never
// held twice; finish() then completes the header and the row padding.
class Bmp24Image {
public:
    static constexpr std::size_t kHeaderBytes = kBmpHeadersSize;

    // False when the size is beyond pictureSizeAllowed or the memory cannot
    // be had. The pixel rows are left uninitialised: the decoder fills them all.
    bool allocate(std::int32_t width, std::int32_t height);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::size_t stride() const { return stride_; }

    // Row y counted from the top of the picture: width pixels of blue, green,
    // red, followed by the padding up to stride().
    std::uint8_t* row(std::int32_t y) {
        return data_.get() + kHeaderBytes + static_cast<std::size_t>(height_ - 1 - y) * stride_;
    }
    const std::uint8_t* row(std::int32_t y) const {
        return data_.get() + kHeaderBytes + static_cast<std::size_t>(height_ - 1 - y) * stride_;
    }

    void finish();

    // The whole file image; meaningful after finish().
    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }

private:
    LargeBuffer data_;
    std::size_t size_ = 0;
    std::size_t stride_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace vexilon
