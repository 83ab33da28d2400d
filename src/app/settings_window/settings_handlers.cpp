#include "app/settings_window/settings_handlers.h"

#include "app/settings/settings_number.h"
#include "app/settings/settings_store.h"
#include "app/settings_window/settings_window.h"
#include "link/protocol/command_bytes.h"
#include "link/protocol/step_pause_value.h"
#include "ui/colour_picker.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace vexilon {

SettingsHandlers::SettingsHandlers(const SettingsControls& controls, SettingsServices services,
                                   QObject* parent)
    : QObject(parent), stepPauseBox_(controls.stepPauseBox),
      colourPicker_(controls.carvedColourPicker), services_(std::move(services)) {
    load();
    connect(&controls.reverseX, &QAbstractButton::clicked, this,
            [this] { reverseMotor(protocol::kMotorAxisX); });
    connect(&controls.reverseY, &QAbstractButton::clicked, this,
            [this] { reverseMotor(protocol::kMotorAxisY); });
    connect(&controls.stepPauseSave, &QAbstractButton::clicked, this,
            &SettingsHandlers::saveStepPause);
    connect(&colourPicker_, &ColourPicker::colourChanged, this, &SettingsHandlers::setCarvedColour);
}

// The window shows what the settings hold, never what was typed and not
// saved the time before; the picker's colour is not yet the carved colour.
void SettingsHandlers::load() {
    stepPauseBox_.setText(
        QString::fromStdString(services_.settings->read(settings_keys::kStepPause)));
    colourPicker_.setColourValue(
        settingsTextToInt(services_.settings->read(settings_keys::kCarvedColour)));
}

// The console keeps no record of the direction: each click turns it once more.
void SettingsHandlers::reverseMotor(std::uint8_t axis) {
    const bool first = services_.console.send(protocol::kReverseMotor);
    const bool second = services_.console.send(axis);
    confirmSaved(first && second);
}

// Nothing is validated: any text gives a value byte, and the text is stored
// as it stands.
void SettingsHandlers::saveStepPause() {
    const bool first = services_.console.send(protocol::kMotorStepPause);
    const bool second =
        services_.console.send(protocol::stepPauseValue(stepPauseBox_.text().toStdU16String()));
    services_.settings->write(settings_keys::kStepPause, stepPauseBox_.text().toStdString());
    confirmSaved(first && second);
}

void SettingsHandlers::setCarvedColour(std::int32_t colour) {
    services_.setCarvedColour(colour);
    services_.settings->write(settings_keys::kCarvedColour, intToSettingsText(colour));
}

// Both bytes are always sent, as the machine may take the second alone; but
// "Saved" after a byte that never left would tell the user the machine has a
// setting it does not have.
void SettingsHandlers::confirmSaved(bool allSent) {
    if (!allSent) {
        services_.console.log(
            QStringLiteral(">Sending Failed ! Check the connection to the machine\r\n\r\n"));
        return;
    }
    services_.console.message(QStringLiteral("Saved ! don't need save every time"),
                              QStringLiteral("Info"));
}

} // namespace vexilon
