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

// A 256-colour PCX of one grey, written without a picture in memory: runs of
// 63 bytes, so that even 16385 x 16385 pixels take only 8.5 MB.
Bytes flatPcx(std::uint32_t width, std::uint32_t height) {
    Bytes out(128, 0);
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    const auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(8, width - 1);
    put16(10, height - 1);
    out[65] = 1;
    put16(66, width);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t left = width; left > 0;) {
            const std::uint32_t run = std::min<std::uint32_t>(left, 63);
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
            out.push_back(7);
            left -= run;
        }
    }
    out.resize(out.size() + 768, 0x80);
    return out;
}

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
    // Valid files whose only fault is their size (65536 a side is in the
    // hostile-size refusals).
    EXPECT_EQ(decodeBytes(flatPcx(16385, 16385)), kConvertNotAPicture);
    EXPECT_EQ(decodeBytes(writeCheckerTiff(16385, 16385)), kConvertNotAPicture);
    Bytes out;
    ASSERT_EQ(decodeBytes(flatPcx(65535, 3), &out), kConvertOk);
    EXPECT_EQ(rgbAt(out, 65534, 2), (std::array<int, 3>{0x80, 0x80, 0x80}));

    // The intermediate image holds the limit itself and nothing beyond it.
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
