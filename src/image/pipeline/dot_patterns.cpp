#include "image/pipeline/dot_patterns.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vexilon {
namespace {

constexpr int kWhiteSum = 765;
constexpr int kThresholdSum = 383;

std::array<std::uint8_t, 256> channelTable(int brightness, int contrast) {
    const int k = std::min(contrast, 99);
    const double factor = k < 0 ? (100.0 + k) / 100.0 : 100.0 / (100.0 - k);
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const int brighter = c + brightness * 255 / 100;
        const double stretched = std::round((brighter - 128) * factor + 128);
        table[static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>(std::clamp(stretched, 0.0, 255.0));
    }
    return table;
}

struct Share {
    int dx;
    int dy;
    int weight;
};
constexpr Share kFloydSteinberg[] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};
constexpr Share kAtkinson[] = {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}};

// The levels sit in a frame two wide on each side and two deep below, so
// that shares falling outside the picture land in the frame unchecked.
constexpr int kFrame = 2;

template <std::size_t N>
std::vector<std::uint8_t> diffuse(const GreyPlane& plane, const Share (&shares)[N], int divisor) {
    const int stride = plane.width + 2 * kFrame;
    std::vector<int> level(static_cast<std::size_t>(stride) * (plane.height + kFrame));
    for (int y = 0; y < plane.height; ++y) {
        std::copy_n(plane.sums.begin() + static_cast<std::ptrdiff_t>(y) * plane.width, plane.width,
                    level.begin() + static_cast<std::ptrdiff_t>(y) * stride + kFrame);
    }
    std::ptrdiff_t offsets[N];
    for (std::size_t i = 0; i < N; ++i) {
        offsets[i] = static_cast<std::ptrdiff_t>(shares[i].dy) * stride + shares[i].dx;
    }
    std::vector<std::uint8_t> dots(plane.sums.size());
    std::uint8_t* dot = dots.data();
    for (int y = 0; y < plane.height; ++y) {
        int* at = level.data() + static_cast<std::ptrdiff_t>(y) * stride + kFrame;
        for (int x = 0; x < plane.width; ++x, ++at) {
            const bool white = *at >= kThresholdSum;
            *dot++ = white ? 1 : 0;
            const int error = *at - (white ? kWhiteSum : 0);
            for (std::size_t i = 0; i < N; ++i) {
                at[offsets[i]] += error * shares[i].weight / divisor;
            }
        }
    }
    return dots;
}

constexpr int kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

// White when the level reaches the middle of the matrix entry's share.
bool orderedWhite(int sum, int x, int y) {
    return 128 * sum >= (2 * kBayer[y % 8][x % 8] + 1) * kWhiteSum;
}

// The dot screen: a tile of cell x cell dots holding two dot centres, one at
// its corner and one at its middle, which makes a square screen turned 45
// degrees. Its dots are ranked by their distance from the nearer centre, so
// that as the grey darkens the dots nearest the centres burn first, and each
// rank gets an equal share of the levels: a grey gets its share of dots.
std::vector<int> screenRanks(int cell) {
    const int count = cell * cell;
    std::vector<double> distance(static_cast<std::size_t>(count));
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double toCorner = std::hypot(std::min(px, cell - px), std::min(py, cell - py));
            const double toMiddle = std::hypot(px - cell / 2.0, py - cell / 2.0);
            distance[static_cast<std::size_t>(y * cell + x)] = std::min(toCorner, toMiddle);
        }
    }
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        order[static_cast<std::size_t>(i)] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return distance[static_cast<std::size_t>(a)] < distance[static_cast<std::size_t>(b)];
    });
    std::vector<int> rank(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rank[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = count - 1 - i;
    }
    return rank;
}

template <typename Rule> std::vector<std::uint8_t> pointwise(const GreyPlane& plane, Rule white) {
    std::vector<std::uint8_t> dots(plane.sums.size());
    for (int y = 0; y < plane.height; ++y) {
        for (int x = 0; x < plane.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * plane.width + x;
            dots[at] = white(plane.sums[at], x, y) ? 1 : 0;
        }
    }
    return dots;
}

} // namespace

GreyPlane greyLevels(const PixelView& picture, PixelRect area, int brightness, int contrast) {
    const std::array<std::uint8_t, 256> table = channelTable(brightness, contrast);
    GreyPlane plane{area.width, area.height, {}};
    plane.sums.reserve(static_cast<std::size_t>(area.width) * area.height);
    for (int y = area.y; y < area.y + area.height; ++y) {
        const std::uint8_t* pixel =
            picture.row(y) + static_cast<std::ptrdiff_t>(area.x) * picture.step;
        for (int x = 0; x < area.width; ++x, pixel += picture.step) {
            plane.sums.push_back(table[pixel[0]] + table[pixel[1]] + table[pixel[2]]);
        }
    }
    return plane;
}

std::vector<std::uint8_t> dotPattern(const GreyPlane& plane, Conversion conversion,
                                     int halftoneCell) {
    switch (conversion) {
    case Conversion::FloydSteinberg:
        return diffuse(plane, kFloydSteinberg, 16);
    case Conversion::Atkinson:
        return diffuse(plane, kAtkinson, 8);
    case Conversion::Ordered:
        return pointwise(plane, orderedWhite);
    case Conversion::Halftone: {
        const std::vector<int> rank = screenRanks(halftoneCell);
        const int count = halftoneCell * halftoneCell;
        return pointwise(plane, [&](int sum, int x, int y) {
            const int r = rank[static_cast<std::size_t>((y % halftoneCell) * halftoneCell +
                                                        x % halftoneCell)];
            return 2 * count * sum >= (2 * r + 1) * kWhiteSum;
        });
    }
    case Conversion::Threshold:
        break;
    }
    return pointwise(plane, [](int sum, int, int) { return sum >= kThresholdSum; });
}

std::vector<std::uint8_t> pictureDots(const PixelView& picture, PixelRect area,
                                      const PictureMode& mode) {
    const GreyPlane plane = greyLevels(picture, area, mode.brightness, mode.contrast);
    std::vector<std::uint8_t> dots = dotPattern(plane, mode.conversion, mode.halftoneCell);
    if (mode.invert) {
        for (std::uint8_t& dot : dots) {
            dot ^= 1;
        }
    }
    return dots;
}

} // namespace vexilon
