#pragma once

#include <cstdint>
#include <string_view>

namespace vexilon::protocol {

// The value byte of the motor step pause command from the text the user gave
// (UTF-16, as a text box holds it): full-width forms are folded to ASCII,
// then blanks, an optional sign and the decimal digits up to the first other
// character are read as a whole number (no digits gives 0), of which the low
// 8 bits are sent: "35" gives 35, "300" gives 44, "-1" gives 255. Numbers of
// any length are taken modulo 256, so no text can overflow.
std::uint8_t stepPauseValue(std::u16string_view text);

} // namespace vexilon::protocol
