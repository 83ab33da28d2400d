#pragma once

#include <cstdint>

namespace vexilon {

// Zoom Out shrinks the whole prepared image by 5 % per press into a square
// centred on (250, 250). The size falls from the last press's size, not
// from the original, and is truncated each time: 512, 486, 461, 437, ...
std::int32_t nextZoomSize(std::int32_t zoomSize);

// Left and top edge of the zoomed square.
std::int32_t zoomOffset(std::int32_t zoomSize);

} // namespace vexilon
