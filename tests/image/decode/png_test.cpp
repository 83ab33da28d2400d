#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>

namespace vexilon::samples {
namespace {

// Each sample as a display of gamma 2.2 should show a file of gamma g.
void expectGamma(const Bytes& file, const RgbPicture& picture, double g) {
    Bytes out;
    ASSERT_EQ(decodeBytes(file, &out), kConvertOk);
    for (int x = 0; x < picture.width; ++x) {
        for (std::size_t c = 0; c < 3; ++c) {
            const double want = 255 * std::pow(picture.at(x, 0)[c] / 255.0, 1 / (g * 2.2));
            ASSERT_NEAR(rgbAt(out, x, 0)[c], want, 1.0) << "x " << x << " channel " << c;
        }
    }
}

TEST(PngGamma, FileGammaIsTheSrgbValueUnlessGamaSaysOtherwise) {
    const RgbPicture ramp = patternPicture(256, 1); // red runs through every value
    expectGamma(writePng(ramp), ramp, 0.45455);
    expectGamma(writePng(ramp, {.gamma = PngGamma::Srgb}), ramp, 0.45455);
    expectGamma(writePng(ramp, {.gamma = PngGamma::SrgbAndValue, .gammaValue = 1.0}), ramp,
                0.45455);
    expectGamma(writePng(ramp, {.gamma = PngGamma::Value, .gammaValue = 1.0}), ramp, 1.0);
    expectGamma(writePng(ramp, {.gamma = PngGamma::Value, .gammaValue = 0.8}), ramp, 0.8);
    expectGamma(writePng(ramp, {.colourType = PNG_COLOR_TYPE_RGB_ALPHA, .gamma = PngGamma::Value}),
                ramp, 1.0);
    const RgbPicture few = patternPicture(40, 1, 40);
    expectGamma(writePng(few, {.colourType = PNG_COLOR_TYPE_PALETTE, .gamma = PngGamma::Value}),
                few, 1.0);
}

TEST(PngPixelKinds, GreyAndPaletteDepthsExpandToColour) {
    const RgbPicture picture = patternPicture(13, 4);
    for (const int depth : {1, 2, 4, 8}) {
        SCOPED_TRACE(depth);
        Bytes out;
        ASSERT_EQ(
            decodeBytes(writePng(picture, {.colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = depth}),
                        &out),
            kConvertOk);
        for (int x = 0; x < picture.width; ++x) {
            // A sample of d bits scales to 0..255 by repeating its bits.
            const int grey = (picture.at(x, 2)[0] >> (8 - depth)) * 255 / ((1 << depth) - 1);
            EXPECT_EQ(rgbAt(out, x, 2), (std::array<int, 3>{grey, grey, grey})) << "x " << x;
        }
        const RgbPicture indexed = patternPicture(13, 4, 1 << depth);
        ASSERT_EQ(
            decodeBytes(
                writePng(indexed, {.colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = depth}), &out),
            kConvertOk);
        EXPECT_TRUE(out == intermediateOf(indexed));
    }
}

TEST(PngPixelKinds, IndexBeyondTheTableReadsAsEntryZero) {
    // Pixel (x, y) has index x + 6y; the table stops after entry 7.
    const RgbPicture picture = patternPicture(6, 2, 12);
    Bytes out;
    ASSERT_EQ(
        decodeBytes(writePng(picture, {.colourType = PNG_COLOR_TYPE_PALETTE, .paletteEntries = 8}),
                    &out),
        kConvertOk);
    const Bytes full = intermediateOf(picture);
    EXPECT_EQ(rgbAt(out, 1, 1), rgbAt(full, 1, 1));
    EXPECT_EQ(rgbAt(out, 2, 1), rgbAt(full, 0, 0));
    EXPECT_EQ(rgbAt(out, 5, 1), rgbAt(full, 0, 0));
}

} // namespace
} // namespace vexilon::samples
