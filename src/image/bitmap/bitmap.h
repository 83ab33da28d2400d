#pragma once

#include "image/bitmap/dib.h"
#include "image/bitmap/rgb.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vexilon {

// The console's in-memory image: empty, or one device-independent image.
// A default-constructed Bitmap is empty; destroying it releases the image.
//
// No operation throws. A failed operation sets the error text and gives an
// empty result: loadFromBmpBytes leaves the object empty, the others return an
// empty Bitmap that carries the same error text. A success empties the text.
// The operations that make a new bitmap never change their source (apart from
// its error text, which always describes the latest operation on it).
class Bitmap {
public:
    Bitmap() = default;

    // Replaces the image with the one in a BMP file image (uncompressed, 1, 4,
    // 8, 16, 24 or 32 bits per pixel, 40-byte or 12-byte info header).
    bool loadFromBmpBytes(std::span<const std::uint8_t> bytes);

    // The image as a BMP file; empty for an empty object.
    std::vector<std::uint8_t> toBmpBytes() const;

    // The image at another depth (1, 4, 8, 16, 24 or 32); an exact copy when
    // the depth is the one it has. Colours go to the nearest table entry.
    Bitmap convertDepth(std::int16_t bits) const;

    // Turned by 90 degrees: clockwise (x, y) goes to (height - 1 - y, x),
    // counter-clockwise to (y, width - 1 - x).
    Bitmap rotateQuarter(bool clockwise) const;

    // Mirrored left to right and/or top to bottom; a copy when neither.
    Bitmap mirror(bool leftRight, bool topBottom) const;

    bool isEmpty() const { return !image_; }
    // 0 for an empty object; height() counts rows whatever their stored order.
    int width() const;
    int height() const;
    int bitsPerPixel() const;
    // Colour of the pixel (x, y), y from the top; nullopt outside the image.
    std::optional<Rgb> pixelColour(int x, int y) const;
    // At most 255 bytes; empty after a success.
    const std::string& errorText() const { return errorText_; }

private:
    explicit Bitmap(Dib image);
    static Bitmap failed(const std::string& text);
    // Runs an operation that makes a new image from this one: fails on an
    // empty object, when make fails (it then sets the error) or when memory
    // runs out. The result's error text becomes the source's too.
    using Maker = std::function<std::optional<Dib>(const Dib& source, std::string& error)>;
    Bitmap produce(const Maker& make) const;

    std::optional<Dib> image_;
    mutable std::string errorText_;
};

} // namespace vexilon
