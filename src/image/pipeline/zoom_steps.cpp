#include "image/pipeline/zoom_steps.h"

namespace vexilon {

std::int32_t nextZoomSize(std::int32_t zoomSize) {
    return static_cast<std::int32_t>(static_cast<double>(zoomSize) * 0.95);
}

std::int32_t zoomOffset(std::int32_t zoomSize) {
    return static_cast<std::int32_t>((500.0 - zoomSize) / 2);
}

} // namespace vexilon
