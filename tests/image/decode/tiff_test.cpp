// TIFF pictures are read in rows or bands whatever their strip layout, so
// that memory stays near the intermediate image's size.
#include "child_peak.h"
#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

namespace vexilon::samples {
namespace {

TEST(TiffRows, ABlackAndWhitePictureInOneStripKeepsEveryPixel) {
    Bytes out;
    ASSERT_EQ(decodeBytes(writeCheckerTiff(200, 150), &out), kConvertOk);
    int wrong = 0;
    for (std::uint32_t y = 0; y < 150; ++y) {
        for (std::uint32_t x = 0; x < 200; ++x) {
            const int expected = checkerIsBlack(x, y) ? 0 : 255;
            wrong += rgbAt(out, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)) !=
                     std::array<int, 3>{expected, expected, expected};
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(TiffRows, PeakMemoryOfOneLargeStripStaysNearTheImage) {
    // 4096 x 8192: a 96 MiB intermediate image. An RGBA buffer of the whole
    // picture would add 128 MiB more.
    const Bytes file = writeCheckerTiff(4096, 8192);
    const ChildRun run = runInChild([&] {
        Bmp24Image image;
        const int result = decodePicture(file, image);
        const auto bytes = image.bytes();
        // Spot checks: the top-left tile is white, the next one black.
        if (result != kConvertOk || bytes[54 + std::size_t{8191} * 4096 * 3] != 255 ||
            bytes[54 + std::size_t{8191} * 4096 * 3 + 64 * 3] != 0) {
            return 0;
        }
        return result;
    });
    EXPECT_EQ(run.result, kConvertOk);
    EXPECT_GT(run.peakGrowthKiB, 96 * 1024);
    EXPECT_LT(run.peakGrowthKiB, (96 + 40) * 1024);
}

} // namespace
} // namespace vexilon::samples
