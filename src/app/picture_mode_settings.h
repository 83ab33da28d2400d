#pragma once

#include "app/settings/settings_store.h"
#include "image/pipeline/picture_mode.h"

namespace vexilon {

// The picture mode as the settings file keeps it (section "Setting"); a file
// without its items reads as the plain threshold.
PictureMode readPictureMode(const SettingsStore& settings);

// Writes the items of `after` that differ from `before`, and no others.
void writePictureMode(SettingsStore& settings, const PictureMode& before, const PictureMode& after);

} // namespace vexilon
