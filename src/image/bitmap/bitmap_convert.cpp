#include "image/bitmap/bitmap.h"
#include "image/bitmap/colour_table.h"
#include "image/bitmap/dib_layout.h"

namespace vexilon {
namespace {

// Every pixel of `source` into `target`, by colour above 8 bits, else by the
// nearest entry of the target's table.
void copyPixels(const Dib& source, Dib& target) {
    const auto& table = target.table();
    const bool direct = target.bits() > 8;
    // Pictures repeat colours in runs, so the last lookup is worth keeping.
    Rgb lastColour;
    std::uint32_t lastIndex = nearestEntry(table, lastColour);
    for (int x = 0; x < source.width(); ++x) {
        for (int y = 0; y < source.rows(); ++y) {
            const Rgb colour = source.colour(x, y);
            if (direct) {
                target.setColour(x, y, colour);
                continue;
            }
            if (!(colour == lastColour)) {
                lastColour = colour;
                lastIndex = nearestEntry(table, colour);
            }
            target.setRaw(x, y, lastIndex);
        }
    }
}

} // namespace

Bitmap Bitmap::convertDepth(std::int16_t bits) const {
    return produce([bits](const Dib& source, std::string& error) -> std::optional<Dib> {
        if (!isSupportedDepth(bits)) {
            error = "Unsupported depth of " + std::to_string(bits) + " bits per pixel";
            return std::nullopt;
        }
        const auto depth = static_cast<std::uint16_t>(bits);
        if (depth == source.bits()) {
            return source;
        }
        auto target = Dib::create(source.width(), source.rows(), depth, standardColourTable(depth));
        if (!target) {
            error = "The converted image would be too large";
            return std::nullopt;
        }
        copyPixels(source, *target);
        return target;
    });
}

} // namespace vexilon
