#pragma once

#include <QObject>
#include <cstdint>

class QLabel;

namespace vexilon {

class IntervalTimer;

// Counts the carving time: one tick of RunTimeTimer is one second, whatever
// the wall clock says (a blocked window thread delays ticks, it does not add
// them). Callers combine the four steps in their own order.
class RunTimeClock : public QObject {
    Q_OBJECT
public:
    RunTimeClock(IntervalTimer& timer, QLabel& label, QObject* parent = nullptr);

    void startTicking();
    void stopTicking();
    void resetCounter();
    void resetLabel();

    std::int32_t elapsedSeconds() const { return elapsedSeconds_; }

private:
    void tick();

    IntervalTimer& timer_;
    QLabel& label_;
    std::int32_t elapsedSeconds_ = 0;
};

} // namespace vexilon
