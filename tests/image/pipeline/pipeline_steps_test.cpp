#include "image/pipeline/fitting.h"
#include "image/pipeline/prepared_image.h"
#include "image/pipeline/zoom_steps.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vexilon {
namespace {

using samples::Bytes;
using samples::RgbPicture;

TEST(Fitting, SmallPicturesAreCentredUnscaledAndLargeOnesShrinkToTheSquare) {
    struct Case {
        int w, h;
        Placement at;
        bool tooLarge;
    };
    const Case cases[] = {
        {100, 50, {195, 220, 100, 50}, false}, {1, 1, {244, 244, 1, 1}, false},
        {489, 489, {0, 0, 489, 489}, false},   {490, 490, {0, 0, 490, 490}, false},
        {511, 300, {0, 101, 490, 287}, false}, {512, 300, {0, 101, 490, 287}, true},
        {1000, 500, {0, 122, 490, 245}, true}, {500, 1000, {122, 0, 245, 490}, true},
        {600, 600, {0, 0, 490, 490}, true},    {300, 511, {101, 0, 287, 490}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitPicture(c.w, c.h), c.at) << c.w << " x " << c.h;
        EXPECT_EQ(isTooLarge(c.w, c.h), c.tooLarge) << c.w << " x " << c.h;
    }
}

TEST(ZoomSteps, EachPressShrinksTheLastSizeAndCentresOn250) {
    const std::pair<int, int> presses[] = {{486, 7},  {461, 19}, {437, 31}, {415, 42},
                                           {394, 53}, {374, 63}, {355, 72}, {337, 81}};
    int size = kPreparedSide;
    for (const auto& [expectedSize, expectedOffset] : presses) {
        size = nextZoomSize(size);
        EXPECT_EQ(size, expectedSize);
        EXPECT_EQ(zoomOffset(size), expectedOffset);
    }
    int count = 8;
    while (size > 0) {
        size = nextZoomSize(size);
        ++count;
    }
    EXPECT_EQ(count, 75);
    EXPECT_EQ(nextZoomSize(0), 0);
}

TEST(BlackAndWhite, WhiteFromAChannelSumOf383) {
    struct Case {
        Rgb colour;
        bool white;
    };
    const Case cases[] = {{{128, 128, 127}, true}, {{127, 127, 128}, false}, {{255, 0, 0}, false},
                          {{255, 255, 0}, true},   {{255, 128, 0}, true},    {{255, 127, 0}, false},
                          {{0, 0, 0}, false},      {{239, 239, 239}, true}};
    for (const Case& c : cases) {
        const Bitmap image =
            blackAndWhite(samples::writeBmp({1, 1, {c.colour.red, c.colour.green, c.colour.blue}}));
        ASSERT_EQ(image.bitsPerPixel(), 1);
        EXPECT_EQ(image.pixelColor(0, 0) == (Rgb{255, 255, 255}), c.white)
            << int{c.colour.red} << "," << int{c.colour.green} << "," << int{c.colour.blue};
    }
    EXPECT_TRUE(blackAndWhite(Bytes{'B', 'M'}).isEmpty());
}

TEST(BlackAndWhite, TheOnePassRoadsGiveWhatTheBitmapOperationsGive) {
    // An odd width leaves padding in every row of both depths.
    for (const auto& [width, height] : {std::pair{37, 23}, {512, 512}}) {
        RgbPicture noise{width, height, Bytes(3 * static_cast<std::size_t>(width * height))};
        std::uint32_t seed = 7;
        for (std::uint8_t& channel : noise.rgb) {
            seed = seed * 1664525u + 1013904223u;
            channel = static_cast<std::uint8_t>(seed >> 24);
        }
        const Bytes snapshot = samples::writeBmp(noise);
        Bitmap general;
        ASSERT_TRUE(general.loadFromBmpBytes(snapshot));
        general = general.convertDepth(1);
        const Bitmap fast = blackAndWhite(snapshot);
        EXPECT_EQ(fast.toBmpBytes(), general.toBmpBytes());
        EXPECT_EQ(uploadOrientation(fast).toBmpBytes(),
                  general.rotateQuarter(true).rotateQuarter(true).mirror(true, false).toBmpBytes());
    }
}

TEST(ImageData, TopRowFirstWithTheLeftmostPixelInTheHighBit) {
    RgbPicture picture{kPreparedSide, kPreparedSide, Bytes(3 * kPreparedSide * kPreparedSide, 255)};
    std::fill_n(picture.at(0, 0), 3, std::uint8_t{0});
    const Bitmap image = blackAndWhite(samples::writeBmp(picture));
    // The header, black as table entry 0 and white as 1, then the pixels
    // white but for the first.
    Bytes expected = {'B', 'M', 0x3E, 0x80, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0,
                      0,   2,   0,    0,    0, 2, 0, 0, 1, 0, 1,  0, 0, 0, 0,  0, 0, 0};
    expected.resize(58, 0);
    expected.insert(expected.end(), {0xFF, 0xFF, 0xFF, 0});
    expected.resize(kPreparedFileSize, 0xFF);
    expected[62] = 0x7F;
    EXPECT_TRUE(imageData(uploadOrientation(image)) == expected);
    // The preview file holds the same rows bottom first.
    std::swap(expected[62], expected[62 + 64 * (kPreparedSide - 1)]);
    EXPECT_TRUE(image.toBmpBytes() == expected);
    EXPECT_TRUE(imageData(Bitmap()).empty());
}

} // namespace
} // namespace vexilon
