#pragma once

#include "image/bitmap/bitmap.h"
#include "image/bitmap/rgb.h"
#include "image/pipeline/area_average.h"

#include <cstdint>
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

// The prepared image from a snapshot of the canvas (BMP file bytes of any
// depth the bitmap object reads): the bitmap object's convertDepth(1), in one
// pass over the bytes for the canvas's own 24-bit snapshots. Empty when the
// bytes hold no image.
Bitmap blackAndWhite(std::span<const std::uint8_t> snapshotBmp);
// The same for pixels held elsewhere (the canvas's own snapshot).
Bitmap blackAndWhite(const PixelView& pixels);

// The prepared image mirrored top to bottom: what two clockwise quarter
// turns and a left-right mirror give, byte for byte. Empty in, empty out.
Bitmap uploadOrientation(const Bitmap& prepared);

// From upload orientation to the prepared image turned a quarter clockwise,
// the right way up: (x, y) of the prepared image goes to (511 - y, x).
Bitmap rotatedPrepared(const Bitmap& uploadOriented);

// The bytes the machine takes after erase image: the BMP file of the image
// in upload orientation, so that its rows, bottom-up by the header, run from
// the top row of the picture down. Empty for an empty bitmap.
std::vector<std::uint8_t> imageData(const Bitmap& uploadOriented);

// The dots to burn (black pixels) in the image data.
std::int64_t blackDotCount(std::span<const std::uint8_t> imageData);

} // namespace vexilon
