#include "control/burning_time_value.h"

#include <algorithm>

namespace vexilon {

std::uint8_t burningTimeByte(std::int32_t position) {
    return static_cast<std::uint8_t>(std::clamp(position, kBurningTimeMin, kBurningTimeMax));
}

std::string burningTimeText(std::int32_t position) {
    return "Burning Time: " + std::to_string(position);
}

} // namespace vexilon
