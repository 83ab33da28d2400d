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

// A picture of 512 x 512 blue, green, red pixels, as a view for conversion.
struct Snapshot {
    explicit Snapshot(Rgb colour) : bgr(3 * kPreparedSide * kPreparedSide) {
        for (std::size_t i = 0; i < bgr.size(); i += 3) {
            bgr[i] = colour.blue;
            bgr[i + 1] = colour.green;
            bgr[i + 2] = colour.red;
        }
    }
    PixelView view() const {
        return {bgr.data(), 3 * kPreparedSide, kPreparedSide, kPreparedSide, 3};
    }
    Bytes bgr;
};

TEST(PreparedImage, WhiteFromAChannelSumOf383) {
    struct Case {
        Rgb colour;
        bool white;
    };
    const Case cases[] = {{{128, 128, 127}, true}, {{127, 127, 128}, false}, {{255, 0, 0}, false},
                          {{255, 255, 0}, true},   {{255, 128, 0}, true},    {{255, 127, 0}, false},
                          {{0, 0, 0}, false},      {{239, 239, 239}, true}};
    for (const Case& c : cases) {
        const auto image = PreparedImage::fromSnapshot(Snapshot(c.colour).view());
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->isWhiteAt(0, 0), c.white)
            << int{c.colour.red} << "," << int{c.colour.green} << "," << int{c.colour.blue};
        EXPECT_EQ(image->isWhiteAt(511, 511), c.white);
    }
    Snapshot small({0, 0, 0});
    EXPECT_FALSE(PreparedImage::fromSnapshot({small.bgr.data(), 3 * 37, 37, 23, 3}));
}

TEST(PreparedImage, GivesWhatTheBitmapOperationsGiveAndTurnsAsRotateDoes) {
    RgbPicture noise{kPreparedSide, kPreparedSide, Bytes(3 * kPreparedSide * kPreparedSide)};
    std::uint32_t seed = 7;
    for (std::uint8_t& channel : noise.rgb) {
        seed = seed * 1664525u + 1013904223u;
        channel = static_cast<std::uint8_t>(seed >> 24);
    }
    const Bytes snapshot = samples::writeBmp(noise);
    Bitmap general;
    ASSERT_TRUE(general.loadFromBmpBytes(snapshot));
    general = general.convertDepth(1);
    // The snapshot's rows, bottom-up in the file, read from the top.
    const std::size_t stride = 3 * kPreparedSide;
    const PixelView rows{snapshot.data() + 54 + (kPreparedSide - 1) * stride,
                         -static_cast<std::ptrdiff_t>(stride), kPreparedSide, kPreparedSide, 3};
    const auto fast = PreparedImage::fromSnapshot(rows);
    ASSERT_TRUE(fast.has_value());
    EXPECT_EQ(fast->bmpFile(), general.toBmpBytes());
    const Bitmap upload = fast->uploadBitmap();
    EXPECT_EQ(upload.toBmpBytes(),
              general.rotateQuarter(true).rotateQuarter(true).mirror(true, false).toBmpBytes());
    EXPECT_EQ(PreparedImage::fromUploadBitmap(upload), fast);
    EXPECT_FALSE(PreparedImage::fromUploadBitmap(Bitmap()));

    const PreparedImage turned = fast->rotated();
    for (const auto& [x, y] : {std::pair{0, 0}, {3, 500}, {511, 7}, {200, 511}}) {
        EXPECT_EQ(turned.isWhiteAt(511 - y, x), fast->isWhiteAt(x, y)) << x << "," << y;
    }
    EXPECT_EQ(turned.rotated().rotated().rotated(), fast);
}

TEST(ImageData, TopRowFirstWithTheLeftmostPixelInTheHighBit) {
    Snapshot white({255, 255, 255});
    std::fill_n(white.bgr.begin(), 3, std::uint8_t{0});
    const auto image = PreparedImage::fromSnapshot(white.view());
    ASSERT_TRUE(image.has_value());
    // The header, black as table entry 0 and white as 1, then the pixels
    // white but for the first.
    Bytes expected = {'B', 'M', 0x3E, 0x80, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0,
                      0,   2,   0,    0,    0, 2, 0, 0, 1, 0, 1,  0, 0, 0, 0,  0, 0, 0};
    expected.resize(58, 0);
    expected.insert(expected.end(), {0xFF, 0xFF, 0xFF, 0});
    expected.resize(kPreparedFileSize, 0xFF);
    expected[62] = 0x7F;
    const Bytes data = imageData(image->uploadBitmap());
    EXPECT_TRUE(data == expected);
    EXPECT_EQ(blackDotCount(data), 1);
    // The preview file holds the same rows bottom first.
    std::swap(expected[62], expected[62 + 64 * (kPreparedSide - 1)]);
    EXPECT_TRUE(image->bmpFile() == expected);
    EXPECT_TRUE(imageData(Bitmap()).empty());
}

} // namespace
} // namespace vexilon
