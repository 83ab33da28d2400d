#include "image/bitmap/bitmap.h"

#include "image/bitmap/bmp_file.h"

#include <new>
#include <utility>

namespace vexilon {

namespace {

constexpr std::size_t kMaxErrorText = 255;

} // namespace

Bitmap::Bitmap(Dib image) : image_(std::move(image)) {}

Bitmap Bitmap::failed(const std::string& text) {
    Bitmap result;
    result.errorText_ = text.substr(0, kMaxErrorText);
    return result;
}

Bitmap Bitmap::produce(const Maker& make) const {
    Bitmap result;
    if (!image_) {
        result = failed("The bitmap is empty");
    } else {
        std::string error;
        try {
            auto image = make(*image_, error);
            result = image ? Bitmap(std::move(*image)) : failed(error);
        } catch (const std::bad_alloc&) {
            result = failed("Out of memory while making a new image");
        }
    }
    errorText_ = result.errorText_;
    return result;
}

bool Bitmap::loadFromBmpBytes(std::span<const std::uint8_t> bytes) {
    // The old image goes first, so that a failed load leaves nothing behind.
    image_.reset();
    std::string error;
    try {
        image_ = parseBmpFile(bytes, error);
    } catch (const std::bad_alloc&) {
        error = "Out of memory while loading the BMP image";
    }
    errorText_ = image_ ? std::string() : error.substr(0, kMaxErrorText);
    return image_.has_value();
}

std::vector<std::uint8_t> Bitmap::toBmpBytes() const {
    if (!image_) {
        errorText_ = "The bitmap is empty";
        return {};
    }
    try {
        auto bytes = encodeBmpFile(*image_);
        errorText_.clear();
        return bytes;
    } catch (const std::bad_alloc&) {
        errorText_ = "Out of memory while writing the BMP image";
        return {};
    }
}

int Bitmap::width() const {
    return image_ ? image_->width() : 0;
}

int Bitmap::height() const {
    return image_ ? image_->rows() : 0;
}

int Bitmap::bitsPerPixel() const {
    return image_ ? static_cast<int>(image_->bits()) : 0;
}

std::optional<Rgb> Bitmap::pixelColour(int x, int y) const {
    if (!image_ || x < 0 || y < 0 || x >= image_->width() || y >= image_->rows()) {
        return std::nullopt;
    }
    return image_->colour(x, y);
}

} // namespace vexilon
