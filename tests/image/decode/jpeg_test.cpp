#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vexilon::samples {
namespace {

// Four flat 16 x 16 quadrants: JPEG keeps flat blocks nearly exact.
RgbPicture quadrants() {
    RgbPicture p{32, 32, Bytes(32 * 32 * 3)};
    const std::uint8_t colours[4][3] = {
        {200, 30, 40}, {20, 180, 60}, {10, 20, 220}, {240, 240, 20}};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const auto* c = colours[(y / 16) * 2 + x / 16];
            std::copy(c, c + 3, p.at(x, y));
        }
    }
    return p;
}

TEST(Jpeg, ColourAndGreyComeOutWithinCodingLoss) {
    const RgbPicture picture = quadrants();
    for (const int components : {1, 3}) {
        for (const bool progressive : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << components << " components, progressive " << progressive);
            Bytes out;
            ASSERT_EQ(decodeBytes(writeJpeg(picture,
                                            {.components = components, .progressive = progressive}),
                                  &out),
                      kConvertOk);
            for (const auto& [x, y] : {std::pair{4, 4}, {27, 5}, {8, 24}, {20, 20}}) {
                const auto got = rgbAt(out, x, y);
                for (std::size_t c = 0; c < 3; ++c) {
                    const int want = picture.at(x, y)[components == 1 ? 0 : c];
                    EXPECT_LE(std::abs(got[c] - want), 4) << x << "," << y << " channel " << c;
                }
            }
        }
    }
}

TEST(Jpeg, ShortFilesAndEndlessProgressionsAreRefused) {
    const RgbPicture picture = patternPicture(64, 48);
    for (const bool progressive : {false, true}) {
        Bytes file = writeJpeg(picture, {.progressive = progressive});
        file.resize(file.size() * 2 / 3);
        EXPECT_EQ(decodeBytes(file), kConvertNotAPicture) << "progressive " << progressive;
    }
    // 128 scans, each a valid step, is far beyond any real encoder.
    const Bytes manyScans = writeJpeg(picture, {.components = 1, .everyCoefficientAlone = true});
    EXPECT_EQ(decodeBytes(manyScans), kConvertNotAPicture);
}

} // namespace
} // namespace vexilon::samples
