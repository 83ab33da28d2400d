#include "image/pipeline/area_average.h"

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

    std::int64_t firstSource() const { return covers.front().first; }
    std::int64_t endSource() const {
        return covers.back().first + static_cast<std::int64_t>(covers.back().count);
    }
};

// The covers of target pixels from..from+count-1.
Axis makeAxis(std::int64_t s, std::int64_t t, std::int64_t from, std::int64_t count) {
    Axis axis;
    axis.covers.reserve(static_cast<std::size_t>(count));
    for (std::int64_t k = from; k < from + count; ++k) {
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

PixelRect clipped(PixelRect part, int width, int height) {
    const int left = std::max(part.x, 0);
    const int top = std::max(part.y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{part.x} + part.width, width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{part.y} + part.height, height);
    if (part.width <= 0 || part.height <= 0 || left >= right || top >= bottom) {
        return {};
    }
    return {left, top, static_cast<int>(right - left), static_cast<int>(bottom - top)};
}

// The scaling of one picture: its axes, and the column sums of the source
// columns the part covers, reused from one target row to the next.
class Scaling {
public:
    Scaling(const PixelView& picture, int width, int height, const PixelRect& part)
        : picture_(picture), columns_(makeAxis(picture.width, width, part.x, part.width)),
          rows_(makeAxis(picture.height, height, part.y, part.height)),
          firstColumn_(columns_.firstSource()),
          sums_(static_cast<std::size_t>(picture.step) *
                static_cast<std::size_t>(columns_.endSource() - firstColumn_)),
          area_(static_cast<std::uint64_t>(picture.width) *
                static_cast<std::uint64_t>(picture.height)) {}

    void scaleRow(std::size_t r, std::uint32_t* line) {
        const Cover& down = rows_.covers[r];
        std::fill(sums_.begin(), sums_.end(), 0);
        const std::size_t skip = static_cast<std::size_t>(firstColumn_ * picture_.step);
        for (std::size_t k = 0; k < down.count; ++k) {
            addRow(picture_.row(down.first + static_cast<std::int64_t>(k)) + skip,
                   rows_.weights[down.weightsAt + k], sums_);
        }
        for (std::size_t c = 0; c < columns_.covers.size(); ++c) {
            line[c] = mixed(columns_.covers[c]);
        }
    }

    std::size_t rowCount() const { return rows_.covers.size(); }

private:
    std::uint32_t mixed(const Cover& across) const {
        const std::size_t step = static_cast<std::size_t>(picture_.step);
        const std::uint32_t* sum =
            &sums_[step * static_cast<std::size_t>(across.first - firstColumn_)];
        std::uint64_t b = 0, g = 0, red = 0;
        for (std::size_t k = 0; k < across.count; ++k, sum += step) {
            const std::uint64_t w = columns_.weights[across.weightsAt + k];
            b += w * sum[0];
            g += w * sum[1];
            red += w * sum[2];
        }
        // At most 255 x 65535^2 per target pixel: well inside 64 bits.
        const auto mean = [this](std::uint64_t s) { return (s + area_ / 2) / area_; };
        return opaque(mean(red), mean(g), mean(b));
    }

    const PixelView& picture_;
    Axis columns_;
    Axis rows_;
    std::int64_t firstColumn_;
    std::vector<std::uint32_t> sums_;
    std::uint64_t area_;
};

} // namespace

PixelView pixelView(const Bmp24Image& picture) {
    if (picture.width() < 1 || picture.height() < 1) {
        return {};
    }
    return {picture.row(0), -static_cast<std::ptrdiff_t>(picture.stride()), picture.width(),
            picture.height(), 3};
}

PixelImage scaleByAreaAverage(const PixelView& picture, int width, int height, PixelRect part) {
    part = clipped(part, width, height);
    if (picture.top == nullptr || picture.width < 1 || picture.height < 1 || part.width < 1 ||
        picture.step < 3) {
        return {};
    }
    PixelImage out{part.width, part.height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(part.width) *
                                              static_cast<std::size_t>(part.height))};
    Scaling scaling(picture, width, height, part);
    for (std::size_t r = 0; r < scaling.rowCount(); ++r) {
        scaling.scaleRow(r, &out.pixels[r * static_cast<std::size_t>(part.width)]);
    }
    return out;
}

PixelImage scaleByAreaAverage(const PixelView& picture, int width, int height) {
    return scaleByAreaAverage(picture, width, height, {0, 0, width, height});
}

} // namespace vexilon
