#include "control/run_time_clock.h"

#include "control/run_time_text.h"
#include "ui/base/interval_timer.h"

#include <QLabel>
#include <limits>

namespace vexilon {

namespace {
constexpr int kTickMs = 1000;
}

RunTimeClock::RunTimeClock(IntervalTimer& timer, QLabel& label, QObject* parent)
    : QObject(parent), timer_(timer), label_(label) {
    connect(&timer_, &IntervalTimer::tick, this, &RunTimeClock::tick);
}

void RunTimeClock::startTicking() {
    timer_.setIntervalMs(kTickMs);
}

void RunTimeClock::stopTicking() {
    timer_.setIntervalMs(0);
}

void RunTimeClock::resetCounter() {
    elapsedSeconds_ = 0;
}

void RunTimeClock::resetLabel() {
    label_.setText(QString::fromLatin1(kRunTimeZeroText));
}

void RunTimeClock::tick() {
    // Sixty-eight years of carving would wrap the counter; stand still instead.
    if (elapsedSeconds_ < std::numeric_limits<std::int32_t>::max()) {
        ++elapsedSeconds_;
    }
    label_.setText(QString::fromStdString(runTimeText(elapsedSeconds_)));
}

} // namespace vexilon
