#include "control/job_control.h"

#include "control/position_display.h"
#include "control/run_time_clock.h"
#include "link/protocol/command_bytes.h"

#include <QAbstractButton>

namespace vexilon {

JobControl::JobControl(const JobButtons& buttons, RunTimeClock& clock, PositionDisplay& position,
                       Services services, QObject* parent)
    : QObject(parent), clock_(clock), position_(position), services_(std::move(services)) {
    connect(&buttons.start, &QAbstractButton::clicked, this, &JobControl::start);
    connect(&buttons.pause, &QAbstractButton::clicked, this, &JobControl::pause);
    connect(&buttons.restart, &QAbstractButton::clicked, this, &JobControl::restart);
    connect(&buttons.recarve, &QAbstractButton::clicked, this, &JobControl::recarve);
    connect(&buttons.fastForward, &QAbstractButton::clicked, this, &JobControl::fastForward);
    connect(&buttons.fastBackward, &QAbstractButton::clicked, this, &JobControl::fastBackward);
}

void JobControl::start() {
    services_.send(protocol::kStartCarving);
    services_.log(QStringLiteral("Start carving\r\n\r\n"));
    emit starting();
    // No reset: after a pause the count resumes where it stood, and a clock
    // that already runs keeps its phase.
    clock_.startTicking();
    emit started();
}

void JobControl::pause() {
    services_.send(protocol::kPause);
    clock_.stopTicking();
    services_.log(QStringLiteral("Engraving Pause !\r\n\r\n"));
    emit paused();
}

void JobControl::restart() {
    services_.send(protocol::kRestart);
    services_.log(QStringLiteral("Restarting...\r\n\r\n"));
    emit restarting();
    clock_.resetCounter();
    clock_.stopTicking();
    clock_.resetLabel();
    position_.reset();
    emit restarted();
}

void JobControl::recarve() {
    for (const std::uint8_t byte : protocol::kRecarveCommand) {
        services_.send(byte);
    }
    services_.log(QStringLiteral("Recarve\r\n\r\n"));
    clock_.resetCounter();
    clock_.startTicking();
    clock_.resetLabel();
    emit recarved();
}

void JobControl::fastForward() {
    for (const std::uint8_t byte : protocol::kFastForwardCommand) {
        services_.send(byte);
    }
    services_.log(QStringLiteral("Fast Forward for 15 row\r\n\r\n"));
}

void JobControl::fastBackward() {
    for (const std::uint8_t byte : protocol::kFastBackwardCommand) {
        services_.send(byte);
    }
    services_.log(QStringLiteral("Fast Backward for 15 row\r\n\r\n"));
}

} // namespace vexilon
