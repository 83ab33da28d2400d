#include "control/control_events.h"

#include "control/machine_controls.h"

#include <QWidget>

#include <array>
#include <span>

namespace vexilon {
namespace {

enum class Group { None, DisableAll, EnableAll };

struct Step {
    const char* name;
    bool enable;
};

struct Change {
    Group group;
    std::span<const Step> then;
};

// The steps live in static arrays: a braced list returned inside a struct
// would die with the return statement and leave the change pointing nowhere.
constexpr std::array<Step, 5> kImageButtonsOnly = {{{"SendImageButton", true},
                                                    {"ClearButton", true},
                                                    {"ZoomOutButton", true},
                                                    {"RotateButton", true},
                                                    {"ReloadButton", true}}};
constexpr std::array<Step, 3> kCarveRateOff = {
    {{"FastBackwardButton", false}, {"FastForwardButton", false}, {"RecarveButton", false}}};
constexpr std::array<Step, 6> kJobRunning = {{{"FastBackwardButton", true},
                                              {"FastForwardButton", true},
                                              {"RecarveButton", true},
                                              {"OriginButton", false},
                                              {"CarvingPreviewButton", false},
                                              {"MiddleButton", false}}};

Change changeFor(ControlEvent event) {
    switch (event) {
    case ControlEvent::StartUp:
    case ControlEvent::Disconnected:
        return {Group::DisableAll, {}};
    case ControlEvent::Verified:
    case ControlEvent::Restart:
    case ControlEvent::Clear:
        return {Group::EnableAll, {}};
    case ControlEvent::PictureTakenIn:
        return {Group::DisableAll, kImageButtonsOnly};
    case ControlEvent::UploadFinished:
        return {Group::EnableAll, kCarveRateOff};
    case ControlEvent::Start:
        return {Group::None, kJobRunning};
    }
    return {Group::None, {}};
}

} // namespace

void applyControlEvent(const QWidget& window, ControlEvent event) {
    const Change change = changeFor(event);
    if (change.group != Group::None) {
        setMachineControlsEnabled(window, change.group == Group::EnableAll);
    }
    for (const Step& step : change.then) {
        if (auto* control = window.findChild<QWidget*>(QLatin1String(step.name))) {
            control->setEnabled(step.enable);
        }
    }
}

} // namespace vexilon
