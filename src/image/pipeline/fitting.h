#pragma once

#include <cstdint>

namespace vexilon {

// A picture taken in is fitted into the square from (0, 0) to (489, 489) of
// the 512 x 512 prepared image, centred on (245, 245).
inline constexpr int kFitSide = 490;
inline constexpr double kFitCentre = 245.0;
// Pictures up to this size on both sides are copied pixel for pixel.
inline constexpr int kLargestUnscaled = 489;
// From this size on either side the log says the picture was adjusted. It
// differs from the scaling threshold on purpose: 490..511 scales silently.
inline constexpr int kTooLargeSide = 512;

// Where a picture of w x h pixels goes: its top-left corner and the size it
// is stretched to.
struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Placement&) const = default;
};

// w and h are positive.
Placement fitPicture(std::int32_t w, std::int32_t h);

bool isScaled(std::int32_t w, std::int32_t h);
bool isTooLarge(std::int32_t w, std::int32_t h);

} // namespace vexilon
