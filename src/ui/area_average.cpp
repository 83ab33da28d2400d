#include "ui/area_average.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vexilon {

namespace {

// The source pixels one target pixel covers along one axis, with their
// overlaps. Along an axis of `sourceLength` source pixels scaled to
// `targetLength`, coordinates are counted in units of 1/targetLength of a
// source pixel: source pixel i spans [i*T, (i+1)*T) and target pixel t spans
// [t*S, (t+1)*S), so every overlap is a whole number and they sum to S.
struct Span {
    std::int64_t first = 0;
    std::size_t weightsAt = 0;
    std::size_t count = 0;
};

struct Axis {
    std::vector<Span> spans;
    std::vector<std::uint64_t> weights;
};

Axis makeAxis(std::int64_t sourceLength, std::int64_t targetLength, int from, int count) {
    Axis axis;
    axis.spans.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const std::int64_t t = from + k;
        const std::int64_t begin = t * sourceLength;
        const std::int64_t end = begin + sourceLength;
        Span span;
        span.first = begin / targetLength;
        span.weightsAt = axis.weights.size();
        for (std::int64_t i = span.first; i * targetLength < end; ++i) {
            const std::int64_t lo = std::max(i * targetLength, begin);
            const std::int64_t hi = std::min((i + 1) * targetLength, end);
            axis.weights.push_back(static_cast<std::uint64_t>(hi - lo));
            ++span.count;
        }
        axis.spans.push_back(span);
    }
    return axis;
}

// Horizontal sums of one source row for every target column of the part:
// per column and channel, the sum of overlap x value (at most S x 255).
void sumRow(const QImage& source, int row, const Axis& columns, std::vector<std::uint64_t>& out) {
    const auto* pixels = reinterpret_cast<const QRgb*>(source.constScanLine(row));
    for (std::size_t c = 0; c < columns.spans.size(); ++c) {
        const Span& span = columns.spans[c];
        std::uint64_t r = 0, g = 0, b = 0;
        for (std::size_t k = 0; k < span.count; ++k) {
            const QRgb p = pixels[span.first + static_cast<std::int64_t>(k)];
            const std::uint64_t w = columns.weights[span.weightsAt + k];
            r += w * static_cast<std::uint64_t>(qRed(p));
            g += w * static_cast<std::uint64_t>(qGreen(p));
            b += w * static_cast<std::uint64_t>(qBlue(p));
        }
        out[3 * c] = r;
        out[3 * c + 1] = g;
        out[3 * c + 2] = b;
    }
}

} // namespace

QImage scaleByAreaAverage(const QImage& picture, QSize size, QRect part) {
    part &= QRect(QPoint(0, 0), size);
    if (picture.isNull() || part.isEmpty()) {
        return {};
    }
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage result(part.size(), QImage::Format_RGB32);
    if (source.isNull() || result.isNull()) {
        return {};
    }
    const std::int64_t sw = source.width();
    const std::int64_t sh = source.height();
    const Axis columns = makeAxis(sw, size.width(), part.left(), part.width());
    const Axis rows = makeAxis(sh, size.height(), part.top(), part.height());

    const std::size_t cells = 3 * columns.spans.size();
    std::vector<std::uint64_t> rowSums(cells);
    std::vector<std::uint64_t> acc(cells);
    std::int64_t summedRow = -1;
    const std::uint64_t area = static_cast<std::uint64_t>(sw) * static_cast<std::uint64_t>(sh);

    for (std::size_t r = 0; r < rows.spans.size(); ++r) {
        const Span& span = rows.spans[r];
        std::fill(acc.begin(), acc.end(), 0);
        for (std::size_t k = 0; k < span.count; ++k) {
            const std::int64_t sourceRow = span.first + static_cast<std::int64_t>(k);
            // Consecutive target rows share at most their boundary source
            // row, so remembering the last one sums every row only once.
            if (sourceRow != summedRow) {
                sumRow(source, static_cast<int>(sourceRow), columns, rowSums);
                summedRow = sourceRow;
            }
            const std::uint64_t w = rows.weights[span.weightsAt + k];
            for (std::size_t i = 0; i < cells; ++i) {
                acc[i] += w * rowSums[i];
            }
        }
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(static_cast<int>(r)));
        for (std::size_t c = 0; c < columns.spans.size(); ++c) {
            const auto mean = [&](std::uint64_t sum) {
                return static_cast<int>((sum + area / 2) / area);
            };
            out[c] = qRgb(mean(acc[3 * c]), mean(acc[3 * c + 1]), mean(acc[3 * c + 2]));
        }
    }
    return result;
}

} // namespace vexilon
