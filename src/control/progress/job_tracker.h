#pragma once

#include "control/progress/dot_progress.h"
#include "ui/desktop/launcher_entry.h"
#include "ui/desktop/sleep_inhibitor.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QLabel;

namespace vexilon {

// Follows a job for the desktop: the dots burnt against the dots uploaded,
// with the time left, as the run-time label's tool tip and as the progress
// bar of the console's task-bar entry; a notice when the job finishes; and a
// hold on sleep while the machine carves. It changes nothing the console
// shows or sends otherwise.
class JobTracker : public QObject {
    Q_OBJECT
public:
    // `elapsedSeconds` reads the run-time clock, so that a pause does not
    // count against the rate.
    JobTracker(QLabel& runTimeLabel, std::function<std::int64_t()> elapsedSeconds,
               QObject* parent = nullptr);

    void imageUploaded(std::int64_t blackDots);
    void started();
    void paused();
    void restarted();
    void recarved();
    void dotReported(int x, int y);
    void carvingStopped();
    // Break, or the cable pulled: the console no longer sees the job.
    void connectionLost();

    // Brings the tool tip and the task-bar entry up to date (once a second
    // is enough: on the clock's tick).
    void refresh();

    bool isCarving() const { return carving_; }
    SleepInhibitor::Holder sleepHold() const { return inhibitor_.holder(); }
    const DotProgress& progress() const { return progress_; }

private:
    enum class Phase { Idle, Carving, Paused, Finished, Lost };

    void enter(Phase phase);

    QLabel& label_;
    std::function<std::int64_t()> elapsedSeconds_;
    DotProgress progress_;
    LauncherEntry launcher_;
    SleepInhibitor inhibitor_;
    Phase phase_ = Phase::Idle;
    bool carving_ = false;
    bool imageKnown_ = false;
    bool noticeDue_ = false;
};

} // namespace vexilon
