#include "control/control_events.h"

#include "control/machine_controls.h"

#include <QWidget>

#include <initializer_list>

namespace vexilon {
namespace {

enum class Group { None, DisableAll, EnableAll };

struct Step {
    const char* name;
    bool enable;
};

struct Change {
    Group group;
    std::initializer_list<Step> then;
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
        return {Group::DisableAll,
                {{"SendImageButton", true},
                 {"ClearButton", true},
                 {"ZoomOutButton", true},
                 {"RotateButton", true},
                 {"ReloadButton", true}}};
    case ControlEvent::UploadFinished:
        return {Group::EnableAll,
                {{"FastBackwardButton", false},
                 {"FastForwardButton", false},
                 {"RecarveButton", false}}};
    case ControlEvent::Start:
        return {Group::None,
                {{"FastBackwardButton", true},
                 {"FastForwardButton", true},
                 {"RecarveButton", true},
                 {"OriginButton", false},
                 {"CarvingPreviewButton", false},
                 {"MiddleButton", false}}};
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
