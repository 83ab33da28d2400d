#pragma once

#include "image/bitmap/bitmap.h"
#include "image/bitmap/rgb.h"
#include "image/pipeline/area_average.h"
#include "image/pipeline/picture_mode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vexilon {

// The prepared image: 512 x 512 dots, 1 bit each, black (0) a dot to burn,
// white (1) none. Its BMP file is the preview file and, in upload
// orientation, the image data the machine takes.
inline constexpr int kPreparedSide = 512;
inline constexpr std::size_t kPreparedFileSize = 32830;
inline constexpr const char* kPreviewFileName = "Engraving Preview.bmp";

// The black-and-white rule: the nearer of black and white by squared
// distance, black on a tie, which comes to a plain sum of the channels.
inline bool isWhite(Rgb colour) {
    return colour.red + colour.green + colour.blue >= 383;
}

// The prepared image as a value, the right way up. BMP bytes are made from
// it only where a file or the bitmap object needs them.
class PreparedImage {
public:
    static constexpr std::size_t kRowBytes = kPreparedSide / 8;

    // All white: no dot to burn.
    PreparedImage();

    // The black-and-white conversion of a 512 x 512 snapshot; nothing for
    // pixels of any other size.
    static std::optional<PreparedImage> fromSnapshot(const PixelView& snapshot);
    // The same, with the picture's area (clipped to the image) converted by
    // `mode` instead; the surround keeps the plain rule, so it stays white.
    static std::optional<PreparedImage>
    fromSnapshot(const PixelView& snapshot, const PictureMode& mode, PixelRect pictureArea);
    // Back from the bitmap object, which holds it in upload orientation;
    // nothing when the bitmap is empty or not a 512 x 512 1-bit image.
    static std::optional<PreparedImage> fromUploadBitmap(const Bitmap& uploadOriented);

    bool isWhiteAt(int x, int y) const;
    // Row y's 64 bytes: the leftmost dot in the high bit, 1 for white.
    std::span<const std::uint8_t, kRowBytes> rowBits(int y) const {
        return std::span<const std::uint8_t, kRowBytes>(row(y), kRowBytes);
    }

    // Turned a quarter clockwise: (x, y) goes to (511 - y, x).
    PreparedImage rotated() const;

    // The 1-bit BMP file, as the preview file holds it.
    std::vector<std::uint8_t> bmpFile() const;
    // The bitmap object in upload orientation: the prepared image mirrored
    // top to bottom, as imageBitmap holds it.
    Bitmap uploadBitmap() const;

    bool operator==(const PreparedImage&) const = default;

private:
    std::vector<std::uint8_t> bmpFile(bool mirrored) const;
    void setWhite(int x, int y, bool white);
    std::uint8_t* row(int y) { return &bits_[static_cast<std::size_t>(y) * kRowBytes]; }
    const std::uint8_t* row(int y) const { return &bits_[static_cast<std::size_t>(y) * kRowBytes]; }

    // Top row first, the leftmost dot in the high bit, 1 for white.
    std::array<std::uint8_t, kPreparedSide * kRowBytes> bits_;
};

// The bytes the machine takes after erase image: the BMP file of the image
// in upload orientation, so that its rows, bottom-up by the header, run from
// the top row of the picture down. Empty for an empty bitmap.
std::vector<std::uint8_t> imageData(const Bitmap& uploadOriented);

// The dots to burn (black pixels) in the image data.
std::int64_t blackDotCount(std::span<const std::uint8_t> imageData);

} // namespace vexilon
