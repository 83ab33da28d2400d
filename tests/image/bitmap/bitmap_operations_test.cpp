#include "image/bitmap/bitmap.h"

#include "bmp_builder.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

// A picture with no symmetry: every pixel has its own colour.
Bitmap distinctPicture(int width, int height) {
    Bitmap bitmap;
    const bool loaded = bitmap.loadFromBmpBytes(test::picture24(width, height, [](int x, int y) {
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x * 40),
                                           static_cast<std::uint8_t>(y * 50),
                                           static_cast<std::uint8_t>(255 - x * 20 - y * 10)};
    }));
    EXPECT_TRUE(loaded) << bitmap.errorText();
    return bitmap;
}

TEST(BitmapOperations, EmptyObjectGivesEmptyResults) {
    const Bitmap empty;
    EXPECT_TRUE(empty.toBmpBytes().empty());
    for (const Bitmap& result : {empty.convertDepth(1), empty.rotateQuarter(true),
                                 empty.rotateQuarter(false), empty.mirror(false, false)}) {
        EXPECT_TRUE(result.isEmpty());
        EXPECT_FALSE(result.errorText().empty());
        EXPECT_EQ(result.width(), 0);
    }
    EXPECT_FALSE(empty.errorText().empty());
}

TEST(BitmapOperations, PreparedImageIsThe32830ByteFile) {
    Bitmap canvas;
    ASSERT_TRUE(canvas.loadFromBmpBytes(test::picture24(512, 512, [](int x, int y) {
        const std::uint8_t level = (x + y) % 3 == 0 ? 0 : 255;
        return std::array<std::uint8_t, 3>{level, level, level};
    })));
    const Bitmap prepared = canvas.convertDepth(1);
    EXPECT_TRUE(prepared.errorText().empty());
    const auto bytes = prepared.toBmpBytes();
    std::vector<std::uint8_t> header = {'B', 'M'};
    // File size, reserved, pixel offset, header size, width, height.
    for (std::uint32_t field : {32830U, 0U, 62U, 40U, 512U, 512U}) {
        test::put(header, field, 4);
    }
    test::put(header, 1, 2); // planes
    test::put(header, 1, 2); // bits per pixel
    header.resize(54, 0);    // compression to important colours
    header.insert(header.end(), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
    ASSERT_EQ(bytes.size(), 32830U);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 62), header);
    // Bottom row first, leftmost pixel in the top bit, white as 1: the bottom
    // row (y = 511) starts white, white, black, white, ...
    EXPECT_EQ(bytes[62], 0b1101'1011);
    EXPECT_EQ(bytes[62 + 31 * 64], 0b0110'1101); // y = 480
}

TEST(BitmapOperations, OneBitThresholdAndInvalidDepths) {
    Bitmap pair;
    ASSERT_TRUE(pair.loadFromBmpBytes(test::picture24(2, 1, [](int x, int) {
        return x == 0 ? std::array<std::uint8_t, 3>{128, 128, 127}
                      : std::array<std::uint8_t, 3>{127, 127, 128};
    })));
    const Bitmap bw = pair.convertDepth(1);
    EXPECT_EQ(bw.pixelColor(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(bw.pixelColor(1, 0), (Rgb{0, 0, 0}));

    for (std::int16_t bits : {0, 2, 3, 12, 64, -1}) {
        const Bitmap result = pair.convertDepth(bits);
        EXPECT_TRUE(result.isEmpty()) << bits;
        EXPECT_FALSE(result.errorText().empty());
        EXPECT_EQ(pair.errorText(), result.errorText());
    }
    EXPECT_FALSE(pair.convertDepth(24).isEmpty());
    EXPECT_TRUE(pair.errorText().empty());
}

TEST(BitmapOperations, ConversionsKeepColoursTheTargetCanHold) {
    // The eight corners of the colour cube are in every standard table.
    Bitmap corners;
    ASSERT_TRUE(corners.loadFromBmpBytes(test::picture24(4, 2, [](int x, int y) {
        const int i = y * 4 + x;
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(i & 1 ? 255 : 0),
                                           static_cast<std::uint8_t>(i & 2 ? 255 : 0),
                                           static_cast<std::uint8_t>(i & 4 ? 255 : 0)};
    })));
    for (std::int16_t bits : {4, 8, 16, 32, 24}) {
        const Bitmap converted = corners.convertDepth(bits);
        ASSERT_EQ(converted.bitsPerPixel(), bits);
        const Bitmap back = converted.convertDepth(24);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(back.pixelColor(i % 4, i / 4), corners.pixelColor(i % 4, i / 4))
                << bits << " bits, pixel " << i;
        }
    }
    // (64, 0, 0) lies as near to black (entry 0) as to maroon (entry 1): the
    // lower index wins.
    Bitmap halfway;
    ASSERT_TRUE(halfway.loadFromBmpBytes(test::picture24(1, 1, [](int, int) {
        return std::array<std::uint8_t, 3>{64, 0, 0};
    })));
    EXPECT_EQ(halfway.convertDepth(4).pixelColor(0, 0), (Rgb{0, 0, 0}));
    // Sixteen bits keep the top five bits of each channel, red highest.
    Bitmap odd;
    ASSERT_TRUE(odd.loadFromBmpBytes(test::picture24(1, 1, [](int, int) {
        return std::array<std::uint8_t, 3>{200, 100, 50};
    })));
    const auto bytes = odd.convertDepth(16).toBmpBytes();
    ASSERT_EQ(bytes.size(), 58U);
    EXPECT_EQ(bytes[54] | (bytes[55] << 8), (25 << 10) | (12 << 5) | 6);
}

TEST(BitmapOperations, SameDepthIsAnExactCopy) {
    const auto file = test::buildBmp(
        {.width = 1, .height = 1, .imageSize = 4, .resolution = 3780, .pixels = {1, 2, 3, 0}});
    Bitmap loaded;
    ASSERT_TRUE(loaded.loadFromBmpBytes(file));
    EXPECT_EQ(loaded.convertDepth(24).toBmpBytes(), file);
    // A made image has the fields after the depth cleared.
    const auto rotated = loaded.rotateQuarter(true).toBmpBytes();
    EXPECT_EQ(std::vector<std::uint8_t>(rotated.begin() + 30, rotated.begin() + 54),
              std::vector<std::uint8_t>(24, 0));
}

TEST(BitmapOperations, TurnsAndMirrorsMovePixelsWhereDescribed) {
    const Bitmap source = distinctPicture(3, 2);
    const std::vector<std::uint8_t> before = source.toBmpBytes();
    const Bitmap clockwise = source.rotateQuarter(true);
    const Bitmap counter = source.rotateQuarter(false);
    const Bitmap both = source.mirror(true, true);
    ASSERT_EQ(clockwise.width(), 2);
    ASSERT_EQ(clockwise.height(), 3);
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 2; ++y) {
            const auto colour = source.pixelColor(x, y);
            EXPECT_EQ(clockwise.pixelColor(1 - y, x), colour);
            EXPECT_EQ(counter.pixelColor(y, 2 - x), colour);
            EXPECT_EQ(both.pixelColor(2 - x, 1 - y), colour);
            EXPECT_EQ(source.mirror(true, false).pixelColor(2 - x, y), colour);
            EXPECT_EQ(source.mirror(false, true).pixelColor(x, 1 - y), colour);
        }
    }
    EXPECT_EQ(source.toBmpBytes(), before);
}

TEST(BitmapOperations, IdentitiesHoldAtEveryDepth) {
    const Bitmap picture = distinctPicture(7, 5);
    for (std::int16_t bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        const Bitmap image = picture.convertDepth(bits);
        const auto bytes = image.toBmpBytes();
        Bitmap turned = image;
        for (int i = 0; i < 4; ++i) {
            turned = turned.rotateQuarter(true);
        }
        EXPECT_EQ(turned.toBmpBytes(), bytes);
        EXPECT_EQ(image.mirror(true, false).mirror(true, false).toBmpBytes(), bytes);
        EXPECT_EQ(image.rotateQuarter(true).rotateQuarter(true).mirror(true, false).toBmpBytes(),
                  image.mirror(false, true).toBmpBytes());
    }
}

} // namespace
} // namespace vexilon
