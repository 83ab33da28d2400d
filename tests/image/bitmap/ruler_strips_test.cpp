#include "image/bitmap/ruler_strips.h"

#include "image/bitmap/bitmap.h"

#include "bmp_builder.h"

#include <gtest/gtest.h>

#include <set>

namespace vexilon {
namespace {

const std::vector<int> kTicks = {0,   13,  27,  40,  54,  67,  81,  94,  108, 121, 134, 148, 161,
                                 175, 188, 202, 215, 229, 242, 256, 269, 282, 296, 309, 323, 336,
                                 350, 363, 377, 390, 403, 417, 430, 444, 457, 471, 484, 498};
const std::vector<int> kLabelled = {0, 67, 134, 202, 269, 336, 403, 471};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// Reads a strip with along/across coordinates, whichever way it lies.
struct Strip {
    Bitmap image;
    bool vertical;

    Rgb at(int along, int across) const {
        return *(vertical ? image.pixelColour(across, along) : image.pixelColour(along, across));
    }
    // The pixels of the label band in [from, to) along, row by row.
    std::vector<Rgb> band(int from, int to, int acrossTo) const {
        std::vector<Rgb> pixels;
        for (int along = std::max(from, 0); along < std::min(to, 512); ++along) {
            for (int across = 0; across < acrossTo; ++across) {
                pixels.push_back(at(along, across));
            }
        }
        return pixels;
    }
};

Strip load(const std::vector<std::uint8_t>& bytes, bool vertical) {
    // A plain 24-bit file: its header up to the compression field as the
    // tests' own builder writes it.
    const auto expected = test::buildBmp({.width = vertical ? 12 : 512,
                                          .height = vertical ? 512 : 12,
                                          .pixels = std::vector<std::uint8_t>(18432)});
    EXPECT_EQ(bytes.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 34, bytes.begin()));
    Strip strip{{}, vertical};
    EXPECT_TRUE(strip.image.loadFromBmpBytes(bytes));
    return strip;
}

void checkMarks(const Strip& strip, const std::set<int>& ticks, int tickFrom, int labelTo) {
    for (int along = 0; along < 512; ++along) {
        for (int across = 10; across < 12; ++across) {
            EXPECT_EQ(strip.at(along, across), kBlack) << along << "," << across;
        }
        if (!strip.vertical && along >= 509) {
            continue; // the bar, checked by the caller
        }
        for (int across = tickFrom; across < 10; ++across) {
            EXPECT_EQ(strip.at(along, across), ticks.count(along) ? kBlack : kWhite)
                << along << "," << across;
        }
    }
    // Labels: ink near every fifth tick, alternately the same two digits,
    // coloured at the edges, and nothing in the band elsewhere.
    bool coloured = false;
    std::vector<std::vector<Rgb>> labels;
    for (int tick : kLabelled) {
        const auto band = strip.band(tick - 4, tick + 5, labelTo);
        EXPECT_NE(std::count(band.begin(), band.end(), kWhite), static_cast<long>(band.size()))
            << tick;
        for (const Rgb& pixel : band) {
            coloured = coloured || pixel.red != pixel.blue;
        }
        labels.push_back(strip.band(tick - 4, tick + 5, labelTo));
    }
    EXPECT_TRUE(coloured);
    EXPECT_EQ(labels[2], labels[4]); // "0"
    EXPECT_EQ(labels[1], labels[3]); // "5"
    EXPECT_NE(labels[2], labels[3]);
    for (std::size_t i = 0; i + 1 < kLabelled.size(); ++i) {
        const auto gap = strip.band(kLabelled[i] + 10, kLabelled[i + 1] - 5, labelTo);
        EXPECT_EQ(std::count(gap.begin(), gap.end(), kWhite), static_cast<long>(gap.size()));
    }
}

TEST(RulerStrips, VerticalStrip) {
    const Strip strip = load(verticalRulerStrip(), true);
    std::set<int> ticks(kTicks.begin(), kTicks.end());
    ticks.erase(256);
    ticks.insert({255, 511});
    checkMarks(strip, ticks, 7, 7);
}

TEST(RulerStrips, HorizontalStripWithItsBar) {
    const Strip strip = load(horizontalRulerStrip(), false);
    checkMarks(strip, {kTicks.begin(), kTicks.end()}, 8, 8);
    for (int along = 509; along < 512; ++along) {
        for (int across = 0; across < 12; ++across) {
            EXPECT_EQ(strip.at(along, across), kBlack);
        }
    }
    EXPECT_EQ(strip.at(508, 0), kWhite);
}

} // namespace
} // namespace vexilon
