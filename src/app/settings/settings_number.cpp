#include "app/settings/settings_number.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace vexilon {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A decimal number as 0.<digits> x 10^point, with no leading zero in digits;
// kept as text so that no value, however long or large, loses precision or
// overflows before the final saturation.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    long long point = 0;
};

// Exponents beyond this put any non-zero mantissa far outside the 32-bit
// range (or far below 1e-12), so larger ones need not be told apart.
constexpr long long exponentLimit = 1'000'000'000'000LL;

// Returns the exponent's value and advances pos past it, or leaves pos where
// it was when no digit follows the 'e' (that 'e' is then not part of the
// number).
long long scanExponent(std::string_view text, std::size_t& pos) {
    std::size_t i = pos;
    if (i >= text.size() || (text[i] != 'e' && text[i] != 'E')) {
        return 0;
    }
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !isDigit(text[i])) {
        return 0;
    }
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = std::min(exponentLimit, value * 10 + (text[i] - '0'));
    }
    pos = i;
    return negative ? -value : value;
}

DecimalNumber scanNumber(std::string_view text) {
    DecimalNumber number;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    std::size_t integerDigits = 0;
    std::size_t fractionDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++integerDigits) {
        number.digits += text[i];
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++fractionDigits) {
            number.digits += text[i];
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return {};
    }
    number.point = static_cast<long long>(integerDigits) + scanExponent(text, i);
    const std::size_t zeros = std::min(number.digits.find_first_not_of('0'), number.digits.size());
    number.digits.erase(0, zeros);
    number.point -= static_cast<long long>(zeros);
    return number;
}

// The fraction exceeds 1 - 1e-12 = 0.999999999999 exactly when its first
// twelve digits are nines and a non-zero digit follows them.
bool fractionNearOne(std::string_view fraction) {
    constexpr std::size_t nines = 12;
    return fraction.size() > nines &&
           fraction.substr(0, nines).find_first_not_of('9') == std::string_view::npos &&
           fraction.substr(nines).find_first_not_of('0') != std::string_view::npos;
}

} // namespace

std::int32_t settingsTextToInt(std::string_view text) {
    const DecimalNumber number = scanNumber(text);
    if (number.digits.empty()) {
        return 0;
    }
    constexpr long long maxMagnitude = 1LL << 31;
    // Ten integer digits already exceed the 32-bit range only from 2^31 on,
    // so eleven or more always do.
    if (number.point > 10) {
        return number.negative ? std::numeric_limits<std::int32_t>::min()
                               : std::numeric_limits<std::int32_t>::max();
    }
    // Below 1 in size (point <= 0) the fraction is the digits behind
    // -point zeros; with any such zero it cannot come near one.
    long long magnitude = 0;
    std::string_view fraction = number.digits;
    if (number.point > 0) {
        const auto integerLength = static_cast<std::size_t>(number.point);
        for (std::size_t k = 0; k < integerLength; ++k) {
            magnitude = magnitude * 10 + (k < number.digits.size() ? number.digits[k] - '0' : 0);
        }
        fraction.remove_prefix(std::min(integerLength, fraction.size()));
    }
    const bool nearOne = number.point >= 0 && fractionNearOne(fraction);
    const bool fractionNonZero = fraction.find_first_not_of('0') != std::string_view::npos;
    if (nearOne || (number.negative && fractionNonZero)) {
        ++magnitude;
    }
    magnitude = std::min(magnitude, maxMagnitude);
    if (number.negative) {
        return static_cast<std::int32_t>(-magnitude);
    }
    return static_cast<std::int32_t>(std::min(magnitude, maxMagnitude - 1));
}

std::string intToSettingsText(std::int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace vexilon
