#pragma once

#include "app/settings_window/settings_handlers.h"

namespace vexilon {

// Creates the settings window anew, with its values loaded, and shows it
// modal and without a parent: until it is closed no other window of the
// console takes input, while timers and received bytes go on being handled.
// Returns once the window has been closed and destroyed.
void openSettingsWindow(const SettingsServices& services);

} // namespace vexilon
