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

TEST(BitmapOperations, EmptyObjectsAndInvalidDepthsGiveEmptyResults) {
    const Bitmap empty;
    EXPECT_TRUE(empty.toBmpBytes().empty());
    EXPECT_FALSE(empty.errorText().empty());
    for (const Bitmap& result : {empty.convertDepth(1), empty.rotateQuarter(true),
                                 empty.rotateQuarter(false), empty.mirror(false, false)}) {
        EXPECT_TRUE(result.isEmpty());
        EXPECT_FALSE(result.errorText().empty());
    }
    const Bitmap picture = distinctPicture(2, 1);
    for (std::int16_t bits : {0, 2, 3, 12, 64, -1}) {
        const Bitmap result = picture.convertDepth(bits);
        EXPECT_TRUE(result.isEmpty()) << bits;
        EXPECT_EQ(picture.errorText(), result.errorText());
        EXPECT_FALSE(result.errorText().empty());
    }
    EXPECT_FALSE(picture.convertDepth(24).isEmpty());
    EXPECT_TRUE(picture.errorText().empty());
}

TEST(BitmapOperations, ConversionsKeepColoursTheTargetCanHold) {
    // The eight corners of the colour cube, which are in every standard
    // table, and two colours that are not in the last column.
    const std::array<std::uint8_t, 3> others[] = {{64, 0, 0}, {200, 100, 50}};
    Bitmap corners;
    ASSERT_TRUE(corners.loadFromBmpBytes(test::picture24(5, 2, [&](int x, int y) {
        const int i = y * 4 + x;
        return x == 4 ? others[y]
                      : std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(i & 1 ? 255 : 0),
                                                    static_cast<std::uint8_t>(i & 2 ? 255 : 0),
                                                    static_cast<std::uint8_t>(i & 4 ? 255 : 0)};
    })));
    for (std::int16_t bits : {4, 8, 16, 32, 24}) {
        const Bitmap converted = corners.convertDepth(bits);
        ASSERT_EQ(converted.bitsPerPixel(), bits);
        const Bitmap back = converted.convertDepth(24);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(back.pixelColour(i % 4, i / 4), corners.pixelColour(i % 4, i / 4))
                << bits << " bits, pixel " << i;
        }
    }
    // (64, 0, 0) lies as near to black (entry 0) as to maroon (entry 1): the
    // lower index wins.
    EXPECT_EQ(corners.convertDepth(4).pixelColour(4, 0), (Rgb{0, 0, 0}));
    // Sixteen bits keep the top five bits of each channel, red highest; the
    // bottom row is stored first.
    const auto bytes = corners.convertDepth(16).toBmpBytes();
    EXPECT_EQ(bytes[62] | (bytes[63] << 8), (25 << 10) | (12 << 5) | 6);
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
            const auto colour = source.pixelColour(x, y);
            EXPECT_EQ(clockwise.pixelColour(1 - y, x), colour);
            EXPECT_EQ(counter.pixelColour(y, 2 - x), colour);
            EXPECT_EQ(both.pixelColour(2 - x, 1 - y), colour);
            EXPECT_EQ(source.mirror(true, false).pixelColour(2 - x, y), colour);
            EXPECT_EQ(source.mirror(false, true).pixelColour(x, 1 - y), colour);
        }
    }
    EXPECT_EQ(source.toBmpBytes(), before);
}

} // namespace
} // namespace vexilon
