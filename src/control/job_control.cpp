#include "control/job_control.h"

#include "control/position_display.h"
#include "control/run_time_clock.h"
#include "link/protocol/command_bytes.h"

#include <QAbstractButton>

namespace vexilon {

JobControl::JobControl(const JobButtons& buttons, RunTimeClock& clock, QLineEdit& xBox,
                       QLineEdit& yBox, SendByte send, Log log, ControlChange change,
                       QObject* parent)
    : QObject(parent), clock_(clock), xBox_(xBox), yBox_(yBox), send_(std::move(send)),
      log_(std::move(log)), change_(std::move(change)) {
    connect(&buttons.start, &QAbstractButton::clicked, this, &JobControl::start);
    connect(&buttons.pause, &QAbstractButton::clicked, this, &JobControl::pause);
    connect(&buttons.restart, &QAbstractButton::clicked, this, &JobControl::restart);
    connect(&buttons.recarve, &QAbstractButton::clicked, this, &JobControl::recarve);
    connect(&buttons.fastForward, &QAbstractButton::clicked, this, &JobControl::fastForward);
    connect(&buttons.fastBackward, &QAbstractButton::clicked, this, &JobControl::fastBackward);
}

void JobControl::start() {
    send_(protocol::kStartCarving);
    log_(QStringLiteral("Start carving\r\n\r\n"));
    change_(ControlEvent::Start);
    // No reset: after a pause the count resumes where it stood, and a clock
    // that already runs keeps its phase.
    clock_.startTicking();
    emit started();
}

void JobControl::pause() {
    send_(protocol::kPause);
    clock_.stopTicking();
    log_(QStringLiteral("Engraving Pause !\r\n\r\n"));
    emit paused();
}

void JobControl::restart() {
    send_(protocol::kRestart);
    log_(QStringLiteral("Restarting...\r\n\r\n"));
    change_(ControlEvent::Restart);
    clock_.resetCounter();
    clock_.stopTicking();
    clock_.resetLabel();
    resetPosition(xBox_, yBox_);
    emit restarted();
}

void JobControl::recarve() {
    for (const std::uint8_t byte : protocol::kRecarveCommand) {
        send_(byte);
    }
    log_(QStringLiteral("Recarve\r\n\r\n"));
    clock_.resetCounter();
    clock_.startTicking();
    clock_.resetLabel();
    emit recarved();
}

void JobControl::fastForward() {
    for (const std::uint8_t byte : protocol::kFastForwardCommand) {
        send_(byte);
    }
    log_(QStringLiteral("Fast Forward for 15 row\r\n\r\n"));
}

void JobControl::fastBackward() {
    for (const std::uint8_t byte : protocol::kFastBackwardCommand) {
        send_(byte);
    }
    log_(QStringLiteral("Fast Backward for 15 row\r\n\r\n"));
}

} // namespace vexilon
