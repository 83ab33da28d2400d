#pragma once

#include <cstdint>
#include <string>

namespace vexilon {

inline constexpr int kBurningTimeMin = 1;
inline constexpr int kBurningTimeMax = 240;

// The byte that carries a burning time to the machine. A position outside
// 1..240 can only come from a hand-edited settings file; it is clamped so the
// byte can never be mistaken for a command code (241 and up) or be zero.
std::uint8_t burningTimeByte(std::int32_t position);

// "Burning Time: <position>", as the label and the log show it.
std::string burningTimeText(std::int32_t position);

} // namespace vexilon
