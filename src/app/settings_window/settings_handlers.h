#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

namespace Ui {
class SettingsWindow;
}

namespace vexilon {

class SettingsStore;

// What the settings window's handlers need from the rest of the console.
struct SettingsServices {
    std::function<void(std::uint8_t)> sendByte; // one send per byte, each finished in turn
    std::function<void(const QString& text, const QString& caption)> showMessage;
    std::function<void(std::int32_t)> setCarvedColor; // 0x00BBGGRR
    SettingsStore* settings = nullptr;
};

// The settings window's behaviour: the values it loads when created, the
// motor reversals, the step pause and the choice of the carved colour.
class SettingsHandlers : public QObject {
    Q_OBJECT

public:
    // Loads the values into the window's controls and binds its events; the
    // handlers live as long as `parent` (the window).
    SettingsHandlers(Ui::SettingsWindow& ui, SettingsServices services, QObject* parent);

    void reverseMotor(std::uint8_t axis);
    void saveStepPause();
    void setCarvedColor(std::int32_t color);

private:
    void load();
    void confirmSaved();

    Ui::SettingsWindow& ui_;
    SettingsServices services_;
};

} // namespace vexilon
