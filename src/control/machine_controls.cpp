#include "control/machine_controls.h"

#include <QWidget>
#include <array>

namespace vexilon {
namespace {

constexpr std::array<const char*, 20> kNames = {
    "UpButton",        "DownButton",        "LeftButton",           "RightButton",
    "PauseButton",     "StartButton",       "CarvingPreviewButton", "OriginButton",
    "SendImageButton", "RestartButton",     "BurningTimeSlider",    "SettingButton",
    "MiddleButton",    "FastForwardButton", "FastBackwardButton",   "RecarveButton",
    "ClearButton",     "ZoomOutButton",     "RotateButton",         "ReloadButton",
};

} // namespace

QList<QWidget*> machineControls(const QWidget& window) {
    QList<QWidget*> controls;
    controls.reserve(static_cast<qsizetype>(kNames.size()));
    for (const char* name : kNames) {
        if (auto* control = window.findChild<QWidget*>(QLatin1String(name))) {
            controls.append(control);
        }
    }
    return controls;
}

void setMachineControlsEnabled(const QWidget& window, bool enabled) {
    for (QWidget* control : machineControls(window)) {
        control->setEnabled(enabled);
    }
}

} // namespace vexilon
