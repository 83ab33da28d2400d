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

TEST(LosslessFormats, EveryFormGivesTheSameImage) {
    // Widths 5 and 6 leave one and two bytes of row padding; 150 rows span
    // several bands of the TIFF reader. Both fit a 256-colour table.
    for (const auto& p : {patternPicture(5, 3), patternPicture(6, 150, 200)}) {
        SCOPED_TRACE(p.width);
        const auto height = static_cast<std::uint32_t>(p.height);
        const std::vector<std::pair<std::string, Bytes>> files = {
            {"bmp", writeBmp(p)},
            {"bmp top-down", writeBmp(p, {.topDown = true})},
            {"bmp core header", writeBmp(p, {.coreHeader = true})},
            {"bmp bit fields", writeBmp(p, {.compression = 3})},
            {"png", writePng(p)},
            {"png interlaced", writePng(p, {.interlaced = true})},
            {"png sRGB", writePng(p, {.gamma = PngGamma::Srgb})},
            {"png alpha", writePng(p, {.colourType = PNG_COLOR_TYPE_RGB_ALPHA})},
            {"png palette", writePng(p, {.colourType = PNG_COLOR_TYPE_PALETTE})},
            {"png palette interlaced",
             writePng(p, {.colourType = PNG_COLOR_TYPE_PALETTE, .interlaced = true})},
            {"tiff", writeTiff(p)},
            {"tiff strips of 1", writeTiff(p, {.rowsPerStrip = 1})},
            {"tiff strips of 7, lzw",
             writeTiff(p, {.compression = COMPRESSION_LZW, .rowsPerStrip = 7})},
            {"tiff tiled, deflate",
             writeTiff(p, {.compression = COMPRESSION_ADOBE_DEFLATE, .tiled = true})},
            {"tiff bottom first", writeTiff(p, {.rowsPerStrip = 4, .bottomFirst = true})},
            {"tiff one strip, bottom first, lzw",
             writeTiff(
                 p, {.compression = COMPRESSION_LZW, .rowsPerStrip = height, .bottomFirst = true})},
            {"tiff right to left", writeTiff(p, {.rightToLeft = true})},
            {"tiff tiled, bottom first, right to left",
             writeTiff(p, {.tiled = true, .bottomFirst = true, .rightToLeft = true})},
            {"pcx 24", writePcx(p)},
            {"pcx 24 padded lines", writePcx(p, {.extraLineBytes = 3, .xmin = 40})},
            {"pcx 8", writePcx(p, {.planes = 1})},
        };
        const Bytes expected = intermediateOf(p);
        for (const auto& [name, file] : files) {
            Bytes out;
            ASSERT_EQ(decodeBytes(file, &out), kConvertOk) << name;
            EXPECT_TRUE(out == expected) << name;
        }
    }
}

} // namespace
} // namespace vexilon::samples
