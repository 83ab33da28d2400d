#include "ui/base/interval_timer.h"

#include <algorithm>

namespace vexilon {

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent) {
    // The run-time clock counts these ticks as seconds; a coarse timer may
    // fire up to 5 % off.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &IntervalTimer::tick);
}

void IntervalTimer::setIntervalMs(int ms) {
    ms = std::max(ms, 0);
    if (ms == interval_) {
        return;
    }
    interval_ = ms;
    if (ms == 0) {
        timer_.stop();
    } else {
        timer_.start(ms);
    }
}

} // namespace vexilon
