// Loads arbitrary bytes as a BMP file and, when that works, runs every
// bitmap operation on the image and checks what must always hold.

#include "image/bitmap/bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using vexilon::Bitmap;

// Larger images prove nothing new and only slow each run down.
constexpr long kMaxPixels = 64 * 64;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void requireEmptyFailure(const Bitmap& result) {
    require(result.isEmpty() && !result.errorText().empty() && result.errorText().size() <= 255);
    require(result.toBmpBytes().empty());
}

bool sameImage(const Bitmap& a, const Bitmap& b) {
    return a.toBmpBytes() == b.toBmpBytes();
}

void checkOperations(const Bitmap& image) {
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            require(image.pixelColour(x, y).has_value());
        }
    }
    require(!image.pixelColour(width, 0) && !image.pixelColour(0, height));

    const Bitmap copy = image.mirror(false, false);
    const Bitmap clockwise = image.rotateQuarter(true);
    require(clockwise.width() == height && clockwise.height() == width);
    require(sameImage(clockwise.rotateQuarter(false), copy));
    require(
        sameImage(clockwise.rotateQuarter(true).mirror(true, false), image.mirror(false, true)));
    require(sameImage(image.mirror(true, true).mirror(true, true), copy));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            require(clockwise.pixelColour(height - 1 - y, x) == image.pixelColour(x, y));
        }
    }

    for (std::int16_t bits : {1, 4, 8, 16, 24, 32}) {
        const Bitmap converted = image.convertDepth(bits);
        require(converted.bitsPerPixel() == bits && converted.errorText().empty());
        require(converted.width() == width && converted.height() == height);
        if (bits == 1 && image.bitsPerPixel() != 1) {
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const auto colour = *image.pixelColour(x, y);
                    const bool white = colour.red + colour.green + colour.blue >= 383;
                    require(converted.pixelColour(x, y)->red == (white ? 255 : 0));
                }
            }
        }
    }
    requireEmptyFailure(image.convertDepth(2));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bitmap bitmap;
    if (!bitmap.loadFromBmpBytes(std::span<const std::uint8_t>(data, size))) {
        requireEmptyFailure(bitmap);
        requireEmptyFailure(bitmap.rotateQuarter(true));
        return 0;
    }
    require(bitmap.errorText().empty() && bitmap.width() > 0 && bitmap.height() > 0);
    const std::vector<std::uint8_t> bytes = bitmap.toBmpBytes();
    Bitmap again;
    require(again.loadFromBmpBytes(bytes) && again.toBmpBytes() == bytes);

    if (static_cast<long>(bitmap.width()) * bitmap.height() <= kMaxPixels) {
        checkOperations(bitmap);
    }
    return 0;
}
