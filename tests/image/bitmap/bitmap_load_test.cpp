#include "image/bitmap/bitmap.h"

#include "bmp_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace vexilon {
namespace {

using test::BmpFields;
using test::buildBmp;

struct DepthCase {
    BmpFields fields;
    std::array<Rgb, 6> expected; // 3 x 2 pixels, top row first
};

// Each depth packs its pixels its own way; the rows are written out by hand.
std::vector<DepthCase> depthCases() {
    std::vector<std::array<std::uint8_t, 3>> sixteen;
    for (int i = 0; i < 16; ++i) {
        sixteen.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i)});
    }
    const auto entry = [&](int i) { return Rgb{sixteen[i][0], sixteen[i][1], sixteen[i][2]}; };
    const Rgb a{10, 20, 30}, b{200, 210, 220}, c{1, 2, 3};
    return {
        {{.bits = 1,
          .table = {{10, 20, 30}, {200, 210, 220}},
          .pixels = {0x60, 0, 0, 0, 0xA0, 0, 0, 0}},
         {b, a, b, a, b, b}},
        {{.bits = 4, .table = sixteen, .pixels = {0xE0, 0x30, 0, 0, 0x12, 0xF0, 0, 0}},
         {entry(1), entry(2), entry(15), entry(14), entry(0), entry(3)}},
        {{.bits = 8,
          .coloursUsed = 3,
          .table = {{10, 20, 30}, {200, 210, 220}, {1, 2, 3}},
          .pixels = {2, 1, 0, 0, 0, 1, 2, 0}},
         {a, b, c, c, b, a}},
        {{.bits = 16,
          .pixels = {0xE0, 0x03, 0x10, 0x42, 0x00, 0x80, 0, 0, 0xFF, 0x7F, 0x00, 0x7C, 0x01, 0x00,
                     0, 0}},
         {Rgb{255, 255, 255}, Rgb{255, 0, 0}, Rgb{0, 0, 8}, Rgb{0, 255, 0}, Rgb{132, 132, 132},
          Rgb{0, 0, 0}}},
        {{.bits = 24,
          .pixels = {3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0, 0, 0, 9, 8, 7, 6, 5, 4, 3, 0, 0, 0}},
         {Rgb{9, 0, 0}, Rgb{6, 7, 8}, Rgb{3, 4, 5}, Rgb{1, 2, 3}, Rgb{4, 5, 6}, Rgb{7, 8, 9}}},
        {{.bits = 32, .pixels = {3,  2,  1,  0xFF, 6, 5, 4, 0, 9, 8, 7, 0,
                                 30, 20, 10, 0,    0, 0, 0, 0, 1, 1, 1, 0x80}},
         {Rgb{10, 20, 30}, Rgb{0, 0, 0}, Rgb{1, 1, 1}, Rgb{1, 2, 3}, Rgb{4, 5, 6}, Rgb{7, 8, 9}}},
    };
}

TEST(BitmapLoad, EachDepthReadsItsPixelsAndWritesBackUnchanged) {
    for (DepthCase& depth : depthCases()) {
        SCOPED_TRACE(depth.fields.bits);
        depth.fields.width = 3;
        depth.fields.height = 2;
        depth.fields.resolution = 2835;
        depth.fields.imageSize = static_cast<std::uint32_t>(depth.fields.pixels.size());
        const auto bytes = buildBmp(depth.fields);
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.loadFromBmpBytes(bytes)) << bitmap.errorText();
        EXPECT_TRUE(bitmap.errorText().empty());
        EXPECT_EQ(bitmap.width(), 3);
        EXPECT_EQ(bitmap.height(), 2);
        EXPECT_EQ(bitmap.bitsPerPixel(), depth.fields.bits);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(bitmap.pixelColour(i % 3, i / 3), depth.expected[static_cast<std::size_t>(i)])
                << "pixel " << i;
        }
        EXPECT_FALSE(bitmap.pixelColour(3, 0));
        EXPECT_EQ(bitmap.toBmpBytes(), bytes);
    }
}

TEST(BitmapLoad, CoreHeaderIsWidenedToTheLongForm) {
    BmpFields core{.width = 4, .height = 4, .bits = 4, .coreHeader = true};
    for (int i = 0; i < 16; ++i) {
        core.table.push_back(
            {static_cast<std::uint8_t>(i), 100, static_cast<std::uint8_t>(200 + i)});
    }
    core.pixels.assign(16, 0x00);
    core.pixels[12] = 0x5A; // top row: pixels 5 and 10
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.loadFromBmpBytes(buildBmp(core))) << bitmap.errorText();
    EXPECT_EQ(bitmap.pixelColour(0, 0), (Rgb{5, 100, 205}));
    EXPECT_EQ(bitmap.pixelColour(1, 0), (Rgb{10, 100, 210}));

    // Written back with the long header and four-byte table entries.
    core.coreHeader = false;
    EXPECT_EQ(bitmap.toBmpBytes(), buildBmp(core));
}

TEST(BitmapLoad, NegativeHeightStoresTheTopRowFirst) {
    const auto topDown = buildBmp({.width = 1, .height = -2, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}});
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.loadFromBmpBytes(topDown)) << bitmap.errorText();
    EXPECT_EQ(bitmap.height(), 2);
    EXPECT_EQ(bitmap.pixelColour(0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(bitmap.pixelColour(0, 1), (Rgb{6, 5, 4}));
    EXPECT_EQ(bitmap.toBmpBytes(), topDown);
}

TEST(BitmapLoad, IndexBeyondTheTableReadsAsEntryZero) {
    const BmpFields shortTable{.width = 2,
                               .bits = 8,
                               .coloursUsed = 2,
                               .table = {{9, 8, 7}, {1, 2, 3}},
                               .pixels = {1, 200, 0, 0}};
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.loadFromBmpBytes(buildBmp(shortTable)));
    EXPECT_EQ(bitmap.pixelColour(1, 0), (Rgb{9, 8, 7}));
    // A made image has a full table, and the moved pixel keeps its colour.
    const Bitmap mirrored = bitmap.mirror(true, false);
    EXPECT_EQ(mirrored.pixelColour(0, 0), (Rgb{9, 8, 7}));
    EXPECT_EQ(mirrored.pixelColour(1, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(mirrored.toBmpBytes().size(), 54U + 1024U + 4U);
}

void patch32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

TEST(BitmapLoad, RefusesBadFilesAndIsLeftEmpty) {
    const auto good =
        buildBmp({.width = 2, .height = 2, .pixels = std::vector<std::uint8_t>(16, 7)});
    const auto changed = [&](std::size_t at, std::uint32_t value) {
        auto bytes = good;
        patch32(bytes, at, value);
        return bytes;
    };
    auto rle8 = buildBmp(
        {.width = 2, .height = 2, .bits = 8, .compression = 1, .pixels = {2, 0, 0, 1, 2, 0, 0, 1}});
    auto notBm = good;
    notBm[1] = 'A';
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
        {"shorter than 54 bytes", std::vector<std::uint8_t>(good.begin(), good.begin() + 53)},
        {"not BM", notBm},
        {"stated size larger than the bytes",
         changed(2, static_cast<std::uint32_t>(good.size() + 1))},
        {"RLE8", rle8},
        {"bit fields", changed(30, 3)},
        {"V4 header", changed(14, 108)},
        {"2 bits per pixel", changed(26, 1 | (2 << 16))},
        {"width 0", changed(18, 0)},
        {"height 0", changed(22, 0)},
        {"pixels one byte short", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"pixel offset past the end", changed(10, 0xFFFFFFF0)},
        {"absurd dimensions", changed(18, 0x7FFFFFFF)},
        {"tallest negative height", changed(22, 0x80000000)},
        {"colour table past the end", changed(46, 0x40000000)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.loadFromBmpBytes(good));
        EXPECT_FALSE(bitmap.loadFromBmpBytes(bytes));
        EXPECT_TRUE(bitmap.isEmpty());
        EXPECT_FALSE(bitmap.errorText().empty());
        EXPECT_LE(bitmap.errorText().size(), 255U);
        EXPECT_TRUE(bitmap.toBmpBytes().empty());
        EXPECT_TRUE(bitmap.loadFromBmpBytes(good));
        EXPECT_TRUE(bitmap.errorText().empty());
    }
}

} // namespace
} // namespace vexilon
