#include "image/pipeline/fitting.h"

namespace vexilon {

Placement fitPicture(std::int32_t w, std::int32_t h) {
    const double width = w;
    const double height = h;
    if (!isScaled(w, h)) {
        return {static_cast<int>(kFitCentre - width / 2), static_cast<int>(kFitCentre - height / 2),
                w, h};
    }
    // The double arithmetic and the truncations are those of the drawing the
    // machine's users know: the offset is truncated from the unrounded size.
    if (w < h) {
        const double scaled = width * kFitSide / height;
        return {static_cast<int>(kFitCentre - scaled / 2), 0, static_cast<int>(scaled), kFitSide};
    }
    const double scaled = height * kFitSide / width;
    return {0, static_cast<int>(kFitCentre - scaled / 2), kFitSide, static_cast<int>(scaled)};
}

bool isScaled(std::int32_t w, std::int32_t h) {
    return w > kLargestUnscaled || h > kLargestUnscaled;
}

bool isTooLarge(std::int32_t w, std::int32_t h) {
    return w >= kTooLargeSide || h >= kTooLargeSide;
}

} // namespace vexilon
