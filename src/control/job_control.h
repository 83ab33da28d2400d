#pragma once

#include "ui/base/services.h"

#include <QObject>

class QAbstractButton;
class QLineEdit;

namespace vexilon {

class PositionDisplay;
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
    JobControl(const JobButtons& buttons, RunTimeClock& clock, PositionDisplay& position,
               Services services, QObject* parent = nullptr);

    void start();
    void pause();
    void restart();
    void recarve();
    void fastForward();
    void fastBackward();

signals:
    // Raised where the machine controls change, in the middle of a click's
    // steps: Start locks the positioning buttons, Restart opens everything.
    void starting();
    void restarting();
    // Raised once a click has done its work, for whoever follows the job.
    void started();
    void paused();
    void restarted();
    void recarved();

private:
    RunTimeClock& clock_;
    PositionDisplay& position_;
    Services services_;
};

} // namespace vexilon
