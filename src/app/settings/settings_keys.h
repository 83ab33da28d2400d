#pragma once

#include <string_view>

namespace vexilon {

// One item of the settings file: where it lives and what it reads as when
// the file does not hold it.
struct SettingKey {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

// Every item the console keeps, declared once.
namespace settings_keys {
inline constexpr SettingKey kBurningTime{"MainWindow", "Burning_time", "60"};
inline constexpr SettingKey kStepPause{"Setting", "Motor", "35"};
inline constexpr SettingKey kCarvedColour{"Setting", "Color", "255"};
inline constexpr SettingKey kPictureMode{"Setting", "Picture_mode", "threshold"};
inline constexpr SettingKey kHalftoneCell{"Setting", "Halftone_cell", "6"};
inline constexpr SettingKey kBrightness{"Setting", "Brightness", "0"};
inline constexpr SettingKey kContrast{"Setting", "Contrast", "0"};
inline constexpr SettingKey kInvert{"Setting", "Invert", "0"};
} // namespace settings_keys

} // namespace vexilon
