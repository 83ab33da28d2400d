#include "app/picture_mode_settings.h"

#include "app/settings/settings_keys.h"
#include "app/settings/settings_number.h"

namespace vexilon {

PictureMode readPictureMode(const SettingsStore& settings) {
    PictureMode mode;
    mode.conversion = conversionFromKey(settings.read(settings_keys::kPictureMode));
    mode.halftoneCell = settingsTextToInt(settings.read(settings_keys::kHalftoneCell));
    mode.brightness = settingsTextToInt(settings.read(settings_keys::kBrightness));
    mode.contrast = settingsTextToInt(settings.read(settings_keys::kContrast));
    mode.invert = settingsTextToInt(settings.read(settings_keys::kInvert)) != 0;
    return withinRanges(mode);
}

void writePictureMode(SettingsStore& settings, const PictureMode& before,
                      const PictureMode& after) {
    if (after.conversion != before.conversion) {
        settings.write(settings_keys::kPictureMode, conversionKey(after.conversion));
    }
    if (after.halftoneCell != before.halftoneCell) {
        settings.write(settings_keys::kHalftoneCell, intToSettingsText(after.halftoneCell));
    }
    if (after.brightness != before.brightness) {
        settings.write(settings_keys::kBrightness, intToSettingsText(after.brightness));
    }
    if (after.contrast != before.contrast) {
        settings.write(settings_keys::kContrast, intToSettingsText(after.contrast));
    }
    if (after.invert != before.invert) {
        settings.write(settings_keys::kInvert, after.invert ? "1" : "0");
    }
}

} // namespace vexilon
