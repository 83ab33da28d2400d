#include "app/settings_window/settings_handlers.h"

#include "app/settings/settings_number.h"
#include "app/settings/settings_store.h"
#include "link/protocol/command_bytes.h"
#include "link/protocol/step_pause_value.h"
#include "ui_settings_window.h"

namespace vexilon {

SettingsHandlers::SettingsHandlers(Ui::SettingsWindow& ui, SettingsServices services,
                                   QObject* parent)
    : QObject(parent), ui_(ui), services_(std::move(services)) {
    load();
    connect(ui_.ReverseXButton, &QPushButton::clicked, this,
            [this] { reverseMotor(protocol::kMotorAxisX); });
    connect(ui_.ReverseYButton, &QPushButton::clicked, this,
            [this] { reverseMotor(protocol::kMotorAxisY); });
    connect(ui_.StepPauseSaveButton, &QPushButton::clicked, this, &SettingsHandlers::saveStepPause);
    connect(ui_.CarvedColorPicker, &ColorPicker::colorChanged, this,
            &SettingsHandlers::setCarvedColor);
}

// The window shows what the settings hold, never what was typed and not
// saved the time before; the picker's colour is not yet the carved colour.
void SettingsHandlers::load() {
    ui_.StepPauseBox->setText(
        QString::fromStdString(services_.settings->read("Setting", "Motor", "35")));
    ui_.CarvedColorPicker->setColorValue(
        settingsTextToInt(services_.settings->read("Setting", "Color", "255")));
}

// The console keeps no record of the direction: each click turns it once more.
void SettingsHandlers::reverseMotor(std::uint8_t axis) {
    services_.sendByte(protocol::kReverseMotor);
    services_.sendByte(axis);
    confirmSaved();
}

// Nothing is validated: any text gives a value byte, and the text is stored
// as it stands.
void SettingsHandlers::saveStepPause() {
    services_.sendByte(protocol::kMotorStepPause);
    services_.sendByte(protocol::stepPauseValue(ui_.StepPauseBox->text().toStdU16String()));
    services_.settings->write("Setting", "Motor", ui_.StepPauseBox->text().toStdString());
    confirmSaved();
}

void SettingsHandlers::setCarvedColor(std::int32_t color) {
    services_.setCarvedColor(color);
    services_.settings->write("Setting", "Color", intToSettingsText(color));
}

void SettingsHandlers::confirmSaved() {
    services_.showMessage(QStringLiteral("Saved ! don't need save every time"),
                          QStringLiteral("Info"));
}

} // namespace vexilon
