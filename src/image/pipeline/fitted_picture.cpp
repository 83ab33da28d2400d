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

// Per target column and channel (blue, green, red): the sum of overlap x value
// over one source row. The overlaps of one column add up to the source width,
// so a sum stays below 255 x 65536 and 32 bits hold it.
void sumRow(const std::uint8_t* row, const Axis& columns, std::vector<std::uint32_t>& out) {
    for (std::size_t c = 0; c < columns.covers.size(); ++c) {
        const Cover& cover = columns.covers[c];
        const std::uint8_t* pixel = row + 3 * cover.first;
        const std::uint32_t* weight = &columns.weights[cover.weightsAt];
        std::uint32_t b = 0, g = 0, r = 0;
        for (std::size_t k = 0; k < cover.count; ++k, pixel += 3) {
            b += weight[k] * pixel[0];
            g += weight[k] * pixel[1];
            r += weight[k] * pixel[2];
        }
        out[3 * c] = b;
        out[3 * c + 1] = g;
        out[3 * c + 2] = r;
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
    const std::uint8_t* file = picture.bytes().data();
    // Rows are stored bottom first behind the header.
    const auto sourceRow = [&](std::int64_t y) {
        return file + Bmp24Image::kHeaderBytes +
               static_cast<std::size_t>(sh - 1 - y) * picture.stride();
    };

    PixelImage out{width, height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) *
                                              static_cast<std::size_t>(height))};
    const Axis columns = makeAxis(sw, width);
    const Axis rows = makeAxis(sh, height);
    const std::size_t cells = 3 * static_cast<std::size_t>(width);
    std::vector<std::uint32_t> rowSums(cells);
    std::vector<std::uint64_t> acc(cells);
    std::int64_t summedRow = -1;
    // At most 255 x 65535^2 per sum: well inside 64 bits.
    const std::uint64_t area = static_cast<std::uint64_t>(sw) * static_cast<std::uint64_t>(sh);

    for (std::size_t r = 0; r < rows.covers.size(); ++r) {
        const Cover& cover = rows.covers[r];
        std::fill(acc.begin(), acc.end(), 0);
        for (std::size_t k = 0; k < cover.count; ++k) {
            const std::int64_t y = cover.first + static_cast<std::int64_t>(k);
            // Neighbouring target rows share at most their boundary source
            // row, so remembering the last one sums every row once.
            if (y != summedRow) {
                sumRow(sourceRow(y), columns, rowSums);
                summedRow = y;
            }
            const std::uint64_t w = rows.weights[cover.weightsAt + k];
            for (std::size_t i = 0; i < cells; ++i) {
                acc[i] += w * rowSums[i];
            }
        }
        std::uint32_t* line = &out.pixels[r * static_cast<std::size_t>(width)];
        for (std::size_t c = 0; c < static_cast<std::size_t>(width); ++c) {
            const auto mean = [&](std::uint64_t sum) { return (sum + area / 2) / area; };
            line[c] = opaque(mean(acc[3 * c + 2]), mean(acc[3 * c + 1]), mean(acc[3 * c]));
        }
    }
    return out;
}

} // namespace vexilon
