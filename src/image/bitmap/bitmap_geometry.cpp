#include "image/bitmap/bitmap.h"
#include "image/bitmap/dib_layout.h"

#include <algorithm>

namespace vexilon {

namespace {

// A new image of the source's depth shows its pixels with the same colours:
// the table keeps the entries the depth can address, and entries missing
// from a short table repeat entry 0, which is how such indices read anyway.
std::vector<TableEntry> tableForMovedPixels(const Dib& source) {
    const std::size_t size = impliedTableEntries(source.bits());
    const auto& table = source.table();
    std::vector<TableEntry> moved(
        table.begin(), table.begin() + static_cast<std::ptrdiff_t>(std::min(size, table.size())));
    moved.resize(size, table.empty() ? TableEntry{} : table.front());
    return moved;
}

// Moves every source pixel (x, y) to place(x, y) in a new width x height image.
template <typename Place>
std::optional<Dib> movePixels(const Dib& source, int width, int height, std::string& error,
                              Place place) {
    auto target = Dib::create(width, height, static_cast<std::uint16_t>(source.bits()),
                              tableForMovedPixels(source));
    if (!target) {
        error = "The new image would be too large";
        return std::nullopt;
    }
    for (int x = 0; x < source.width(); ++x) {
        for (int y = 0; y < source.rows(); ++y) {
            const auto [toX, toY] = place(x, y);
            target->setRaw(toX, toY, source.raw(x, y));
        }
    }
    return target;
}

struct Point {
    int x;
    int y;
};

} // namespace

Bitmap Bitmap::rotateQuarter(bool clockwise) const {
    return produce([clockwise](const Dib& source, std::string& error) {
        const int width = source.width();
        const int height = source.rows();
        return movePixels(source, height, width, error, [=](int x, int y) {
            return clockwise ? Point{height - 1 - y, x} : Point{y, width - 1 - x};
        });
    });
}

Bitmap Bitmap::mirror(bool leftRight, bool topBottom) const {
    return produce([=](const Dib& source, std::string& error) {
        const int width = source.width();
        const int height = source.rows();
        return movePixels(source, width, height, error, [=](int x, int y) {
            return Point{leftRight ? width - 1 - x : x, topBottom ? height - 1 - y : y};
        });
    });
}

} // namespace vexilon
