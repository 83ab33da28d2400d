#pragma once

#include <cstdint>
#include <string>

namespace vexilon {

// The run-time clock's caption for a count of whole seconds: minutes grow past
// two digits (6000 s is "100:00"), there is no hours field.
std::string runTimeText(std::int32_t elapsedSeconds);

// The caption the clock shows after a reset.
inline constexpr const char* kRunTimeZeroText = "Run time :  00:00";

} // namespace vexilon
