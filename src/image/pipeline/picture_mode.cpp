#include "image/pipeline/picture_mode.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vexilon {
namespace {

struct ConversionNames {
    Conversion conversion;
    std::string_view key;
    std::string_view name;
};

constexpr std::array<ConversionNames, 5> kNames = {{
    {Conversion::Threshold, "threshold", "Threshold"},
    {Conversion::FloydSteinberg, "floyd-steinberg", "Floyd-Steinberg"},
    {Conversion::Atkinson, "atkinson", "Atkinson"},
    {Conversion::Ordered, "ordered", "Ordered 8 x 8"},
    {Conversion::Halftone, "halftone", "Halftone"},
}};

const ConversionNames& namesOf(Conversion conversion) {
    for (const ConversionNames& names : kNames) {
        if (names.conversion == conversion) {
            return names;
        }
    }
    return kNames[0];
}

bool sameWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string signedNumber(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

} // namespace

std::string_view conversionKey(Conversion conversion) {
    return namesOf(conversion).key;
}

Conversion conversionFromKey(std::string_view key) {
    for (const ConversionNames& names : kNames) {
        if (sameWithoutCase(names.key, key)) {
            return names.conversion;
        }
    }
    return Conversion::Threshold;
}

std::string_view conversionName(Conversion conversion) {
    return namesOf(conversion).name;
}

std::string pictureModeLogLine(const PictureMode& mode) {
    std::string line = ">Picture mode: " + std::string(conversionName(mode.conversion));
    if (mode.conversion == Conversion::Halftone) {
        line += " " + std::to_string(mode.halftoneCell);
    }
    line += ", brightness " + signedNumber(mode.brightness) + ", contrast " +
            signedNumber(mode.contrast);
    if (mode.invert) {
        line += ", inverted";
    }
    return line + "\r\n";
}

PictureMode withinRanges(PictureMode mode) {
    mode.brightness = std::clamp(mode.brightness, -kPictureAdjustLimit, kPictureAdjustLimit);
    mode.contrast = std::clamp(mode.contrast, -kPictureAdjustLimit, kPictureAdjustLimit);
    if (std::find(std::begin(kHalftoneCells), std::end(kHalftoneCells), mode.halftoneCell) ==
        std::end(kHalftoneCells)) {
        mode.halftoneCell = 6;
    }
    return mode;
}

} // namespace vexilon
