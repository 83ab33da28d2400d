// The same pixels in every lossless form a user may drop must give the same
// intermediate image, byte for byte.
#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <string>
#include <utility>
#include <vector>

namespace vexilon::samples {
namespace {

void expectAllGive(const RgbPicture& picture,
                   const std::vector<std::pair<std::string, Bytes>>& files) {
    const Bytes expected = intermediateOf(picture);
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        Bytes out;
        ASSERT_EQ(decodeBytes(file, &out), kConvertOk);
        EXPECT_TRUE(out == expected);
    }
}

TEST(LosslessFormats, FullColourFilesGiveTheSameImage) {
    // Widths 5 and 6 leave one and two bytes of row padding; 150 rows span
    // several bands of the TIFF reader.
    for (const auto& picture : {patternPicture(5, 3), patternPicture(6, 150)}) {
        SCOPED_TRACE(picture.width);
        expectAllGive(
            picture,
            {
                {"bmp", writeBmp(picture)},
                {"bmp top-down", writeBmp(picture, {.topDown = true})},
                {"bmp core header", writeBmp(picture, {.coreHeader = true})},
                {"bmp bit fields", writeBmp(picture, {.compression = 3})},
                {"png", writePng(picture)},
                {"png interlaced", writePng(picture, {.interlaced = true})},
                {"png sRGB", writePng(picture, {.gamma = PngGamma::Srgb})},
                {"png alpha", writePng(picture, {.colorType = PNG_COLOR_TYPE_RGB_ALPHA})},
                {"tiff", writeTiff(picture)},
                {"tiff strips of 1", writeTiff(picture, {.rowsPerStrip = 1})},
                {"tiff strips of 7, lzw",
                 writeTiff(picture, {.compression = COMPRESSION_LZW, .rowsPerStrip = 7})},
                {"tiff tiled, deflate",
                 writeTiff(picture, {.compression = COMPRESSION_ADOBE_DEFLATE, .tiled = true})},
                {"tiff bottom first", writeTiff(picture, {.rowsPerStrip = 4, .bottomFirst = true})},
                {"pcx 24", writePcx(picture)},
                {"pcx 24 padded lines", writePcx(picture, {.extraLineBytes = 3, .xmin = 40})},
            });
    }
}

TEST(LosslessFormats, PaletteFilesGiveTheSameImage) {
    const RgbPicture picture = patternPicture(70, 9, 200);
    expectAllGive(
        picture, {
                     {"bmp", writeBmp(picture)},
                     {"png palette", writePng(picture, {.colorType = PNG_COLOR_TYPE_PALETTE})},
                     {"png palette interlaced",
                      writePng(picture, {.colorType = PNG_COLOR_TYPE_PALETTE, .interlaced = true})},
                     {"pcx 8", writePcx(picture, {.planes = 1})},
                 });
}

} // namespace
} // namespace vexilon::samples
