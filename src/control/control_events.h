#pragma once

class QWidget;

namespace vexilon {

// The events that change which machine controls are enabled. Every change of
// the group goes through applyControlEvent, so the whole table sits in one
// place.
enum class ControlEvent {
    StartUp,        // disable all
    Verified,       // enable all
    Disconnected,   // disable all
    PictureTakenIn, // disable all; enable the image buttons and SendImageButton
    UploadFinished, // enable all; disable the three carve-rate buttons
    Start,          // enable the carve-rate buttons; lock the three positioning buttons
    Restart,        // enable all
    Clear,          // enable all
};

// Applies the event's change to the machine controls of `window`, control by
// control in the table's order.
void applyControlEvent(const QWidget& window, ControlEvent event);

} // namespace vexilon
