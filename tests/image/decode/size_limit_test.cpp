// The size limit counts pixels: a side may reach 65535 as long as the
// picture holds at most 16384 x 16384 pixels.
#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vexilon::samples {
namespace {

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
