// Files the decoders must refuse with -3: other variants of the accepted
// formats, other formats, files of hostile sizes. None may print a word.
#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <utility>
#include <vector>

namespace vexilon::samples {
namespace {

using Named = std::vector<std::pair<std::string, Bytes>>;

void expectRefusedQuietly(const Named& files) {
    testing::internal::CaptureStderr();
    for (const auto& [name, file] : files) {
        EXPECT_EQ(decodeBytes(file), kConvertNotAPicture) << name;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Refusals, OtherVariantsAndFormats) {
    const RgbPicture p = patternPicture(8, 8, 16);
    expectRefusedQuietly({
        {"bmp rle8 marked 24", writeBmp(p, {.bits = 24, .compression = 1})},
        {"bmp rle4 marked 24", writeBmp(p, {.bits = 24, .compression = 2})},
        {"jpeg cmyk", writeJpeg(p, {.components = 4})},
        {"empty", {}},
        {"pcx one pixel wide", writePcx(patternPicture(1, 8))},
        {"pcx one pixel tall", writePcx(patternPicture(8, 1))},
        // Without its signature no file is a Photo CD, however large.
        {"2 MB of zeros", Bytes(2000000, 0)},
        {"bmp 8 bits, index past the table",
         writeBmp(p, {.bits = 8, .coloursUsed = 1, .firstPixel = 7})},
        {"bmp 16 bits, a mask in pieces",
         writeBmp(p, {.bits = 16, .compression = 3, .masks = {0x7C00, 0x0A0A, 0x1F}})},
    });
}

TEST(Refusals, HostileSizes) {
    const RgbPicture wide = patternPicture(65536, 1);
    const RgbPicture p = patternPicture(40, 30);
    const auto cut = [](Bytes file) {
        file.resize(file.size() * 2 / 3);
        return file;
    };
    Bytes hugeBmp = writeBmp(p);
    hugeBmp[22] = 0x00; // height INT32_MIN: top-down, and no positive counterpart
    hugeBmp[25] = 0x80;
    Bytes narrowLines = writePcx(p);
    narrowLines[66] = 39; // one byte per line fewer than the width needs
    expectRefusedQuietly({
        {"bmp too wide", writeBmp(wide)},
        {"png too wide", writePng(wide)},
        {"tiff too wide", writeTiff(wide)},
        {"bmp int32 min rows", hugeBmp},
        {"pcx short lines", narrowLines},
        {"bmp cut", cut(writeBmp(p))},
        {"png cut", cut(writePng(p))},
        {"tiff cut", cut(writeTiff(p))},
        {"pcx 24 cut", cut(writePcx(p))},
        {"pcx 8 cut", cut(writePcx(patternPicture(40, 30, 50), {.planes = 1}))},
    });
}

TEST(Pcx, RunsStopAtTheEndOfTheirLine) {
    // Two pixels, two lines of red, green, blue planes of two bytes each.
    Bytes file = writePcx(patternPicture(2, 2));
    file.resize(128);
    const Bytes data = {0xFF, 9,               // a run of 63 nines, cut to the six bytes of line 1
                        0xC0, 77,              // a run of none
                        1,    2,  3, 4, 5, 6}; // line 2: literal bytes, not more nines
    file.insert(file.end(), data.begin(), data.end());
    Bytes out;
    ASSERT_EQ(decodeBytes(file, &out), kConvertOk);
    EXPECT_EQ(rgbAt(out, 1, 0), (std::array<int, 3>{9, 9, 9}));
    EXPECT_EQ(rgbAt(out, 0, 1), (std::array<int, 3>{1, 3, 5}));
    EXPECT_EQ(rgbAt(out, 1, 1), (std::array<int, 3>{2, 4, 6}));
}

// The size limit counts pixels: a side may reach 65535 as long as the
// picture holds at most 16384 x 16384 pixels.
TEST(PictureSizeLimit, ALongPanoramaIsTakenInByEveryFormat) {
    const RgbPicture panorama = patternPicture(20000, 40);
    const Bytes expected = intermediateOf(panorama);
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"bmp", writeBmp(panorama)},
        {"png", writePng(panorama)},
        {"tiff", writeTiff(panorama)},
        {"pcx", writePcx(panorama)},
    };
    for (const auto& [name, file] : files) {
        Bytes out;
        ASSERT_EQ(decodeBytes(file, &out), kConvertOk) << name;
        EXPECT_TRUE(out == expected) << name;
    }
    Bmp24Image jpeg;
    ASSERT_EQ(decodePicture(writeJpeg(panorama), jpeg), kConvertOk);
    EXPECT_EQ(jpeg.width(), 20000);
    EXPECT_EQ(jpeg.height(), 40);
}

TEST(PictureSizeLimit, MorePixelsThan16384SquaredAreRefused) {
    // A valid file whose only fault is its size (65536 a side is in the
    // hostile-size refusals). Every decoder makes its image through
    // allocate, which holds the limit itself and nothing beyond it.
    EXPECT_EQ(decodeBytes(writeCheckerTiff(16385, 16385)), kConvertNotAPicture);
    Bmp24Image image;
    EXPECT_TRUE(image.allocate(16384, 16384));
    EXPECT_TRUE(image.allocate(65535, 1));
    for (const auto& [width, height] :
         {std::pair{16385, 16385}, {65535, 4097}, {16384, 16385}, {65536, 1}, {1, 65536}, {0, 1}}) {
        EXPECT_FALSE(image.allocate(width, height)) << width << " x " << height;
    }
}

} // namespace
} // namespace vexilon::samples
