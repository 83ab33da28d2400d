#pragma once

#include "sample_picture.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Small encoders for test pictures: libjpeg, libpng and libtiff for their
// formats, our own code for BMP, PCX, Photo CD and GIF. Used by the tests,
// the fuzz corpus generator and the benchmark.
namespace vexilon::samples {

struct BmpOptions {
    int bits = 24;                 // pixels other than 24 bits are written as zeros
    std::uint32_t compression = 0; // 1 RLE8, 2 RLE4 (an empty stream), 3 bit fields
    bool topDown = false;
    bool coreHeader = false;
    std::uint32_t coloursUsed = 0;           // table entries, up to 8 bits; 0: all the depth allows
    std::uint8_t firstPixel = 0;             // the first stored byte of pixels other than 24 bits
    std::array<std::uint32_t, 3> masks = {}; // bit fields; zeros: the usual ones
};
Bytes writeBmp(const RgbPicture& picture, const BmpOptions& options = {});

enum class PngGamma { None, Srgb, Value, SrgbAndValue };
struct PngOptions {
    int colourType = 2; // PNG_COLOR_TYPE_*; grey samples come from the red channel
    int bitDepth = 8;
    PngGamma gamma = PngGamma::None;
    double gammaValue = 1.0;
    bool interlaced = false;
    Bytes alpha = {};        // one per pixel for colour types with alpha; 255 when empty
    int paletteEntries = -1; // fewer table entries than the picture's colours
};
Bytes writePng(const RgbPicture& picture, const PngOptions& options = {});

struct JpegOptions {
    int components = 3; // 1: grey from the red channel, 4: CMYK
    int quality = 95;
    bool progressive = false;
    bool everyCoefficientAlone = false; // grey only: 128 progressive scans
};
Bytes writeJpeg(const RgbPicture& picture, const JpegOptions& options = {});
// The JPEG with an Exif block holding only the orientation tag (1 to 8 mean
// something), right after the start-of-image marker: the block starts at
// byte 4, its directory's offset at byte 16, the tag's type at byte 24.
Bytes withOrientation(const Bytes& jpeg, std::uint8_t orientation);

struct TiffOptions {
    int compression = 1;            // COMPRESSION_*
    std::uint32_t rowsPerStrip = 0; // 0: libtiff's choice
    bool tiled = false;             // 16 x 16 tiles
    bool bottomFirst = false;       // orientation bottom-left, rows stored bottom up
    bool rightToLeft = false;       // orientation top-right (or bottom-right), columns reversed
};
Bytes writeTiff(const RgbPicture& picture, const TiffOptions& options = {});

// A black-and-white TIFF (1 bit, 0 is white) compressed with CCITT group 4 in
// one strip, of any size without a picture in memory: black where
// (x / 64 + y / 64) is odd. Large pictures make tiny files.
Bytes writeCheckerTiff(std::uint32_t width, std::uint32_t height);

struct PcxOptions {
    int planes = 3; // 1: 8 bits with a colour table
    int extraLineBytes = 0;
    std::uint16_t xmin = 0;
};
Bytes writePcx(const RgbPicture& picture, const PcxOptions& options = {});

// A file of the given size, zeros but for the Image Pac signature.
Bytes photoCdFile(std::size_t size, bool signature = true);
inline constexpr std::size_t kPhotoCdBaseOffset = 0x30000;
inline constexpr std::size_t kPhotoCdBaseEnd = 786432;

// A one-pixel GIF.
Bytes gifFile();

} // namespace vexilon::samples
