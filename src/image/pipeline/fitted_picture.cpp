#include "image/pipeline/fitted_picture.h"

#include <algorithm>

namespace vexilon {
namespace {

// Along one axis of s source pixels scaled to t, lengths are counted in units
// of 1/t of a source pixel: source pixel i spans [i*t, (i+1)*t), target
// pixel k spans [k*s, (k+1)*s), so every overlap is a whole number.
struct Cover {
    std::int64_t first = 0;    // first source pixel the target pixel covers
    std::size_t weightsAt = 0; // its overlaps start here in `weights`
    std::size_t count = 0;
};

struct Axis {
    std::vector<Cover> covers;
    std::vector<std::uint32_t> weights;
};

Axis makeAxis(std::int64_t s, std::int64_t t) {
    Axis axis;
    axis.covers.reserve(static_cast<std::size_t>(t));
    for (std::int64_t k = 0; k < t; ++k) {
        const std::int64_t begin = k * s;
        const std::int64_t end = begin + s;
        Cover cover{begin / t, axis.weights.size(), 0};
        for (std::int64_t i = cover.first; i * t < end; ++i) {
            const std::int64_t overlap = std::min((i + 1) * t, end) - std::max(i * t, begin);
            axis.weights.push_back(static_cast<std::uint32_t>(overlap));
            ++cover.count;
        }
        axis.covers.push_back(cover);
    }
    return axis;
}

// Adds one source row, weighted, to the running column sums of a target row.
// The weights of one target row add up to the source height, so a sum stays
// below 255 x 65536 and 32 bits hold it; the plain loop lets the compiler
// take many bytes at a time.
void addRow(const std::uint8_t* row, std::uint32_t weight, std::vector<std::uint32_t>& sums) {
    std::uint32_t* sum = sums.data();
    const std::size_t n = sums.size();
    for (std::size_t i = 0; i < n; ++i) {
        sum[i] += weight * row[i];
    }
}

std::uint32_t opaque(std::uint64_t red, std::uint64_t green, std::uint64_t blue) {
    return 0xFF000000u | static_cast<std::uint32_t>(red << 16) |
           static_cast<std::uint32_t>(green << 8) | static_cast<std::uint32_t>(blue);
}

} // namespace

PixelImage scaleByAreaAverage(const Bmp24Image& picture, int width, int height) {
    const std::int64_t sw = picture.width();
    const std::int64_t sh = picture.height();
    if (sw < 1 || sh < 1 || width < 1 || height < 1) {
        return {};
    }
    const auto sourceRow = [&](std::int64_t y) {
        return picture.row(static_cast<std::int32_t>(y));
    };

    PixelImage out{width, height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) *
                                              static_cast<std::size_t>(height))};
    const Axis columns = makeAxis(sw, width);
    const Axis rows = makeAxis(sh, height);
    // Blue, green and red of every source column, summed down one target row.
    std::vector<std::uint32_t> columnSums(3 * static_cast<std::size_t>(sw));
    // At most 255 x 65535^2 per target pixel: well inside 64 bits.
    const std::uint64_t area = static_cast<std::uint64_t>(sw) * static_cast<std::uint64_t>(sh);
    const auto mean = [area](std::uint64_t sum) { return (sum + area / 2) / area; };

    for (std::size_t r = 0; r < rows.covers.size(); ++r) {
        const Cover& down = rows.covers[r];
        std::fill(columnSums.begin(), columnSums.end(), 0);
        for (std::size_t k = 0; k < down.count; ++k) {
            addRow(sourceRow(down.first + static_cast<std::int64_t>(k)),
                   rows.weights[down.weightsAt + k], columnSums);
        }
        std::uint32_t* line = &out.pixels[r * static_cast<std::size_t>(width)];
        for (std::size_t c = 0; c < columns.covers.size(); ++c) {
            const Cover& across = columns.covers[c];
            const std::uint32_t* sum = &columnSums[3 * static_cast<std::size_t>(across.first)];
            std::uint64_t b = 0, g = 0, red = 0;
            for (std::size_t k = 0; k < across.count; ++k, sum += 3) {
                const std::uint64_t w = columns.weights[across.weightsAt + k];
                b += w * sum[0];
                g += w * sum[1];
                red += w * sum[2];
            }
            line[c] = opaque(mean(red), mean(g), mean(b));
        }
    }
    return out;
}

} // namespace vexilon
