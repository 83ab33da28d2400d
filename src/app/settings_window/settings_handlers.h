#pragma once

#include "ui/base/services.h"

#include <QObject>

#include <cstdint>
#include <functional>

class QLineEdit;

namespace vexilon {

class ColourPicker;
class SettingsStore;
struct SettingsControls;

// What the settings window's handlers need from the rest of the console.
struct SettingsServices {
    Services console;                                  // sends finish one byte at a time
    std::function<void(std::int32_t)> setCarvedColour; // 0x00BBGGRR
    SettingsStore* settings = nullptr;
};

// The settings window's behaviour: the values it loads when created, the
// motor reversals, the step pause and the choice of the carved colour.
class SettingsHandlers : public QObject {
    Q_OBJECT

public:
    // Loads the values into the window's controls and binds its events; the
    // handlers live as long as `parent` (the window).
    SettingsHandlers(const SettingsControls& controls, SettingsServices services, QObject* parent);

    void reverseMotor(std::uint8_t axis);
    void saveStepPause();
    void setCarvedColour(std::int32_t colour);

private:
    void load();
    void confirmSaved(bool allSent);

    QLineEdit& stepPauseBox_;
    ColourPicker& colourPicker_;
    SettingsServices services_;
};

} // namespace vexilon
