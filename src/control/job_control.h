#pragma once

#include "control/control_events.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QAbstractButton;
class QLineEdit;

namespace vexilon {

class RunTimeClock;

// The six buttons that steer a job on the machine.
struct JobButtons {
    QAbstractButton& start;
    QAbstractButton& pause;
    QAbstractButton& restart;
    QAbstractButton& recarve;
    QAbstractButton& fastForward;
    QAbstractButton& fastBackward;
};

// Start, Pause, Restart, Recarve and the two 15-row skips: each click sends
// its command, logs its line and moves the run-time clock. The console keeps
// no job model; the clock and the enabled controls are all it knows of a job.
class JobControl : public QObject {
    Q_OBJECT
public:
    using SendByte = std::function<void(std::uint8_t)>;
    using Log = std::function<void(const QString&)>;
    // Applies one event of the machine controls' table.
    using ControlChange = std::function<void(ControlEvent)>;

    JobControl(const JobButtons& buttons, RunTimeClock& clock, QLineEdit& xBox, QLineEdit& yBox,
               SendByte send, Log log, ControlChange change, QObject* parent = nullptr);

    void start();
    void pause();
    void restart();
    void recarve();
    void fastForward();
    void fastBackward();

signals:
    // Raised once a click has done its work, for whoever follows the job.
    void started();
    void paused();
    void restarted();
    void recarved();

private:
    RunTimeClock& clock_;
    QLineEdit& xBox_;
    QLineEdit& yBox_;
    SendByte send_;
    Log log_;
    ControlChange change_;
};

} // namespace vexilon
