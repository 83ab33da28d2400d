#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexilon {

// Reads the longest leading decimal number of a settings value (blanks
// skipped, optional sign, digits, optional fraction and exponent) and turns it
// into an integer: a fraction above 1 - 1e-12 counts as the next integer away
// from zero, any other fraction is dropped by rounding down (so "-3.5" gives
// -4). Text without a number gives 0; results beyond the 32-bit range
// saturate at its ends.
std::int32_t settingsTextToInt(std::string_view text);

// Decimal text of an integer, minus sign when negative, no leading zeros.
std::string intToSettingsText(std::int32_t value);

} // namespace vexilon
