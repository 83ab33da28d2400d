#pragma once

#include <string>
#include <string_view>

namespace vexilon {

// How the fitted picture becomes dots. Threshold is the plain rule of the
// prepared image (white when red + green + blue >= 383); the others spread
// the grey levels of a photograph over patterns of dots.
enum class Conversion { Threshold, FloydSteinberg, Atkinson, Ordered, Halftone };

inline constexpr int kPictureAdjustLimit = 100;
inline constexpr int kHalftoneCells[] = {4, 6, 8};

struct PictureMode {
    Conversion conversion = Conversion::Threshold;
    int halftoneCell = 6; // dots a screen cell is wide: 4, 6 or 8
    int brightness = 0;   // -100 .. 100
    int contrast = 0;     // -100 .. 100
    bool invert = false;

    bool operator==(const PictureMode&) const = default;
};

// The settings file's names: "threshold", "floyd-steinberg", "atkinson",
// "ordered", "halftone". Read without regard to case; anything else reads
// as threshold.
std::string_view conversionKey(Conversion conversion);
Conversion conversionFromKey(std::string_view key);

// The names the menu and the log show ("Floyd-Steinberg", "Ordered 8 x 8" ...).
std::string_view conversionName(Conversion conversion);

// The log line that names the mode, for example
// ">Picture mode: Floyd-Steinberg, brightness +10, contrast 0\r\n".
std::string pictureModeLogLine(const PictureMode& mode);

// Values as the settings file may hold them brought within their ranges:
// brightness and contrast clamped, a cell other than 4, 6 or 8 made 6.
PictureMode withinRanges(PictureMode mode);

} // namespace vexilon
