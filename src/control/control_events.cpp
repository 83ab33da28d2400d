#include "control/control_events.h"

#include "control/machine_controls.h"

#include <QWidget>

#include <span>

namespace vexilon {
namespace {

enum class Group { None, DisableAll, EnableAll };

struct Step {
    const char* name;
    bool enable;
};

// The steps live in static arrays: a list built in the return statement
// would die with it and leave the caller reading freed memory.
constexpr Step kPictureTakenIn[] = {{"SendImageButton", true},
                                    {"ClearButton", true},
                                    {"ZoomOutButton", true},
                                    {"RotateButton", true},
                                    {"ReloadButton", true}};
constexpr Step kUploadFinished[] = {
    {"FastBackwardButton", false}, {"FastForwardButton", false}, {"RecarveButton", false}};
constexpr Step kStart[] = {{"FastBackwardButton", true},    {"FastForwardButton", true},
                           {"RecarveButton", true},         {"OriginButton", false},
                           {"CarvingPreviewButton", false}, {"MiddleButton", false}};

struct Change {
    Group group;
    std::span<const Step> then;
};

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
        return {Group::DisableAll, kPictureTakenIn};
    case ControlEvent::UploadFinished:
        return {Group::EnableAll, kUploadFinished};
    case ControlEvent::Start:
        return {Group::None, kStart};
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
