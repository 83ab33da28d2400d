// Each dot pattern against its textbook definition, written out here on its
// own: the diffusion weights and scan order, the Bayer matrix built by its
// recursion, the screen by the share of dots each grey level gets.
#include "image/pipeline/dot_patterns.h"
#include "image/pipeline/prepared_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vexilon {
namespace {

// Blue, green, red pixels, top row first, made by `colour(x, y)`.
struct Picture {
    int width;
    int height;
    std::vector<std::uint8_t> bgr;

    template <typename Colour> Picture(int w, int h, Colour colour) : width(w), height(h) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const auto [r, g, b] = colour(x, y);
                bgr.insert(bgr.end(), {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                                       static_cast<std::uint8_t>(r)});
            }
        }
    }
    PixelView view() const { return {bgr.data(), 3 * width, width, height, 3}; }
    PixelRect all() const { return {0, 0, width, height}; }
};

struct Rgb3 {
    int r, g, b;
};

Picture greyRamp() {
    return Picture(256, 24, [](int x, int) { return Rgb3{x, x, x}; });
}

// Something like a photograph: soft gradients in every channel and a disc.
Picture photoLike() {
    return Picture(97, 61, [](int x, int y) {
        const double d = std::hypot(x - 60, y - 25);
        const int disc = d < 18 ? 70 : 0;
        return Rgb3{(x * 2 + disc) % 256, (y * 4) % 256,
                    (128 + static_cast<int>(90 * std::sin(x / 9.0))) % 256};
    });
}

using Grid = std::vector<std::vector<int>>;

Grid levelsOf(const Picture& p) {
    Grid g(static_cast<std::size_t>(p.height), std::vector<int>(static_cast<std::size_t>(p.width)));
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* px = &p.bgr[3 * static_cast<std::size_t>(y * p.width + x)];
            g[y][x] = px[0] + px[1] + px[2];
        }
    }
    return g;
}

std::vector<std::uint8_t> flatten(const Grid& g) {
    std::vector<std::uint8_t> out;
    for (const auto& row : g) {
        for (const int v : row) {
            out.push_back(static_cast<std::uint8_t>(v));
        }
    }
    return out;
}

// Error diffusion as the textbooks write it, over levels 0 .. 765 with the
// middle at 383; shares truncated toward zero.
struct Neighbour {
    int dx, dy, weight;
};
std::vector<std::uint8_t> referenceDiffusion(const Picture& p, const std::vector<Neighbour>& to,
                                             int divisor) {
    Grid level = levelsOf(p);
    Grid white(level.size(), std::vector<int>(level[0].size()));
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const int old = level[y][x];
            const int chosen = old >= 383 ? 765 : 0;
            white[y][x] = chosen == 765;
            for (const Neighbour& n : to) {
                const int nx = x + n.dx, ny = y + n.dy;
                if (nx >= 0 && nx < p.width && ny < p.height) {
                    level[ny][nx] += (old - chosen) * n.weight / divisor;
                }
            }
        }
    }
    return flatten(white);
}

Grid bayer(int size) {
    if (size == 1) {
        return {{0}};
    }
    const Grid half = bayer(size / 2);
    Grid m(static_cast<std::size_t>(size), std::vector<int>(static_cast<std::size_t>(size)));
    const int offset[2][2] = {{0, 2}, {3, 1}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            m[y][x] =
                4 * half[y % (size / 2)][x % (size / 2)] + offset[y / (size / 2)][x / (size / 2)];
        }
    }
    return m;
}

std::vector<std::uint8_t> dotsOf(const Picture& p, Conversion c, int cell = 6) {
    return pictureDots(p.view(), p.all(), {.conversion = c, .halftoneCell = cell});
}

TEST(DotPatterns, ErrorDiffusionsAreTheTextbookOnesOnARampAndAPhotograph) {
    for (const Picture& p : {greyRamp(), photoLike()}) {
        EXPECT_EQ(dotsOf(p, Conversion::FloydSteinberg),
                  referenceDiffusion(p, {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}, 16));
        EXPECT_EQ(dotsOf(p, Conversion::Atkinson),
                  referenceDiffusion(
                      p, {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}, 8));
    }
}

TEST(DotPatterns, OrderedIsTheBayerMatrixAndThresholdIsThePlainRule) {
    const Grid m = bayer(8);
    for (const Picture& p : {greyRamp(), photoLike()}) {
        const Grid level = levelsOf(p);
        Grid white(level.size(), std::vector<int>(level[0].size()));
        Grid plain = white;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                // The level against the middle of the entry's 1/64 share.
                white[y][x] = level[y][x] / 765.0 >= (m[y % 8][x % 8] + 0.5) / 64;
                plain[y][x] = level[y][x] >= 383;
            }
        }
        EXPECT_EQ(dotsOf(p, Conversion::Ordered), flatten(white));
        EXPECT_EQ(dotsOf(p, Conversion::Threshold), flatten(plain));
    }
}

// Every grey gets about its share of dots, in cells of the size chosen.
TEST(DotPatterns, HalftoneGivesEachGreyItsShareOfDots) {
    for (const int cell : kHalftoneCells) {
        for (const int grey : {0, 40, 96, 128, 180, 230, 255}) {
            const Picture flat(96, 96, [grey](int, int) { return Rgb3{grey, grey, grey}; });
            const std::vector<std::uint8_t> dots = dotsOf(flat, Conversion::Halftone, cell);
            double black = 0;
            for (const std::uint8_t d : dots) {
                black += d == 0;
            }
            EXPECT_NEAR(black / dots.size(), 1 - grey / 255.0, 0.06) << cell << " " << grey;
        }
    }
}

TEST(DotPatterns, InvertTwiceAndZeroAdjustmentsChangeNothing) {
    const Picture p = photoLike();
    for (const Conversion c : {Conversion::Threshold, Conversion::FloydSteinberg,
                               Conversion::Atkinson, Conversion::Ordered, Conversion::Halftone}) {
        const std::vector<std::uint8_t> plain = dotsOf(p, c);
        std::vector<std::uint8_t> inverted =
            pictureDots(p.view(), p.all(), {.conversion = c, .invert = true});
        for (std::size_t i = 0; i < plain.size(); ++i) {
            inverted[i] ^= 1;
        }
        EXPECT_EQ(inverted, plain);
    }
    std::vector<int> sums;
    for (const auto& row : levelsOf(p)) {
        sums.insert(sums.end(), row.begin(), row.end());
    }
    EXPECT_EQ(greyLevels(p.view(), p.all(), 0, 0).sums, sums);
    // Brightness moves every channel the same way; contrast spreads around 128.
    const Picture mid(2, 1, [](int x, int) {
        return x == 0 ? Rgb3{100, 100, 100} : Rgb3{200, 200, 200};
    });
    EXPECT_EQ(greyLevels(mid.view(), mid.all(), 10, 0).sums, (std::vector<int>{3 * 125, 3 * 225}));
    EXPECT_EQ(greyLevels(mid.view(), mid.all(), 0, 50).sums, (std::vector<int>{3 * 72, 3 * 255}));
    EXPECT_EQ(greyLevels(mid.view(), mid.all(), 0, -50).sums, (std::vector<int>{3 * 114, 3 * 164}));
}

// Only the picture's area takes the pattern: the light grey around it stays
// white, so no margin is burnt.
TEST(DotPatterns, ThePreparedImageKeepsItsSurroundWhite) {
    const Picture snapshot(512, 512, [](int x, int y) {
        const bool inside = x >= 100 && x < 300 && y >= 150 && y < 250;
        return inside ? Rgb3{128, 128, 128} : Rgb3{240, 240, 240};
    });
    const PictureMode diffused{.conversion = Conversion::FloydSteinberg};
    const std::optional<PreparedImage> image =
        PreparedImage::fromSnapshot(snapshot.view(), diffused, {100, 150, 200, 100});
    ASSERT_TRUE(image.has_value());
    int insideBlack = 0;
    int outsideBlack = 0;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool inside = x >= 100 && x < 300 && y >= 150 && y < 250;
            (inside ? insideBlack : outsideBlack) += image->isWhiteAt(x, y) ? 0 : 1;
        }
    }
    EXPECT_EQ(outsideBlack, 0);
    EXPECT_NEAR(insideBlack, 200 * 100 / 2, 200);
    EXPECT_EQ(PreparedImage::fromSnapshot(snapshot.view(), PictureMode{}, {100, 150, 200, 100}),
              PreparedImage::fromSnapshot(snapshot.view()));
}

TEST(PictureModeNames, ReadWithoutCaseAndUnknownIsThreshold) {
    EXPECT_EQ(conversionFromKey("Floyd-Steinberg"), Conversion::FloydSteinberg);
    EXPECT_EQ(conversionFromKey("HALFTONE"), Conversion::Halftone);
    EXPECT_EQ(conversionFromKey("ordered"), Conversion::Ordered);
    EXPECT_EQ(conversionFromKey("dither"), Conversion::Threshold);
    EXPECT_EQ(pictureModeLogLine({.conversion = Conversion::FloydSteinberg, .brightness = 10}),
              ">Picture mode: Floyd-Steinberg, brightness +10, contrast 0\r\n");
    EXPECT_EQ(pictureModeLogLine({.conversion = Conversion::Halftone,
                                  .halftoneCell = 8,
                                  .contrast = -20,
                                  .invert = true}),
              ">Picture mode: Halftone 8, brightness 0, contrast -20, inverted\r\n");
    const PictureMode odd = withinRanges({.halftoneCell = 5, .brightness = 300, .contrast = -101});
    EXPECT_EQ(odd.halftoneCell, 6);
    EXPECT_EQ(odd.brightness, 100);
    EXPECT_EQ(odd.contrast, -100);
}

} // namespace
} // namespace vexilon
