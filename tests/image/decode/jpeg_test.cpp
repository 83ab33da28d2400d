#include "decode_test_support.h"
#include "reference_tool.h"
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

class JpegFiles : public ScratchDirectoryTest {};

// ImageMagick's -auto-orient is the reference for what each orientation means.
TEST_F(JpegFiles, EveryOrientationComesOutUpright) {
    const Bytes stored = writeJpeg(patternPicture(40, 24), {.quality = 100});
    for (std::uint8_t orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(static_cast<int>(orientation));
        const std::filesystem::path file = save("turned.jpg", withOrientation(stored, orientation));
        const std::optional<RgbPicture> upright = referencePixels(file, "-auto-orient");
        ASSERT_TRUE(upright.has_value());
        Bytes out;
        ASSERT_EQ(decodeBytes(readFile(file), &out), kConvertOk);
        EXPECT_EQ(differingPixels(pixelsOf(out), *upright), 0);
    }
}

TEST(Jpeg, OrientationTagsThatAreMalformedOrOutsideTheBlockLeaveThePictureAsStored) {
    const Bytes stored = writeJpeg(patternPicture(40, 24));
    Bytes plain;
    ASSERT_EQ(decodeBytes(stored, &plain), kConvertOk);
    Bytes outside = withOrientation(stored, 6);
    outside[16] = 0xF0; // the directory's offset far past the block
    Bytes unknown = withOrientation(stored, 9);
    Bytes wrongType = withOrientation(stored, 6);
    wrongType[24] = 4; // LONG, not SHORT
    for (const Bytes& file : {outside, unknown, wrongType}) {
        Bytes out;
        ASSERT_EQ(decodeBytes(file, &out), kConvertOk);
        EXPECT_TRUE(out == plain);
    }
}

// A file that ends early shows what it holds, as libjpeg's own tool does.
TEST_F(JpegFiles, AShortFileDecodesAsDjpegShowsIt) {
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        Bytes file = writeJpeg(patternPicture(64, 48), {.progressive = progressive});
        file.resize(file.size() * 2 / 3);
        const std::string cut = save("cut.jpg", file);
        // djpeg ends with status 2 after a warning, as here.
        runTool("djpeg -ppm -outfile " + shellQuoted(dir_ / "cut.ppm") + " " + shellQuoted(cut));
        const std::optional<RgbPicture> reference = readPpm(dir_ / "cut.ppm");
        ASSERT_TRUE(reference.has_value());
        Bytes out;
        ASSERT_EQ(decodeBytes(file, &out), kConvertOk);
        EXPECT_EQ(differingPixels(pixelsOf(out), *reference), 0);
    }
}

TEST(Jpeg, EndlessProgressionsAreRefused) {
    // 128 scans, each a valid step, is far beyond any real encoder.
    const Bytes manyScans =
        writeJpeg(patternPicture(64, 48), {.components = 1, .everyCoefficientAlone = true});
    EXPECT_EQ(decodeBytes(manyScans), kConvertNotAPicture);
}

} // namespace
} // namespace vexilon::samples
