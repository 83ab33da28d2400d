#include "control/progress/job_tracker.h"

#include "ui/desktop/desktop_notice.h"

#include <QLabel>

namespace vexilon {
namespace {

QString clockText(std::int64_t seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

JobTracker::JobTracker(QLabel& runTimeLabel, std::function<std::int64_t()> elapsedSeconds,
                       QObject* parent)
    : QObject(parent), label_(runTimeLabel), elapsedSeconds_(std::move(elapsedSeconds)) {}

void JobTracker::imageUploaded(std::int64_t blackDots) {
    progress_.setTotal(blackDots);
    imageKnown_ = true;
    noticeDue_ = false;
    enter(Phase::Idle);
}

void JobTracker::started() {
    noticeDue_ = true;
    enter(Phase::Carving);
}

void JobTracker::paused() {
    if (phase_ == Phase::Carving) {
        enter(Phase::Paused);
    }
}

void JobTracker::restarted() {
    progress_.restart();
    noticeDue_ = false;
    enter(Phase::Idle);
}

void JobTracker::recarved() {
    progress_.restart();
    noticeDue_ = true;
    enter(Phase::Carving);
}

void JobTracker::dotReported(int x, int y) {
    progress_.add(x, y);
}

void JobTracker::carvingStopped() {
    if (noticeDue_) {
        noticeDue_ = false;
        showDesktopNotice(QStringLiteral("Carving finished"),
                          QStringLiteral("%1 dots burnt, run time %2")
                              .arg(QString::fromStdString(groupedNumber(progress_.done())),
                                   clockText(elapsedSeconds_())));
    }
    enter(Phase::Finished);
}

void JobTracker::connectionLost() {
    if (phase_ == Phase::Carving || phase_ == Phase::Paused) {
        enter(Phase::Lost);
    }
}

void JobTracker::enter(Phase phase) {
    phase_ = phase;
    carving_ = phase == Phase::Carving;
    if (carving_) {
        inhibitor_.hold(QStringLiteral("An engraving job is running"));
    } else {
        inhibitor_.release();
    }
    refresh();
}

void JobTracker::refresh() {
    if (!imageKnown_) {
        // Started without an upload in this run: there is no total to measure against.
        label_.setToolTip(progress_.done() > 0
                              ? QStringLiteral("%1 dots").arg(
                                    QString::fromStdString(groupedNumber(progress_.done())))
                              : QString());
        return;
    }
    const bool running = phase_ == Phase::Carving;
    QString text = QString::fromStdString(
        progressText(progress_.done(), progress_.total(),
                     running ? progress_.secondsLeft(elapsedSeconds_()) : std::nullopt));
    if (phase_ == Phase::Paused) {
        text += QStringLiteral(", paused");
    } else if (phase_ == Phase::Finished) {
        text += QStringLiteral(", finished");
    }
    label_.setToolTip(text);
    if (running || phase_ == Phase::Paused) {
        launcher_.showProgress(progress_.fraction());
    } else {
        launcher_.hideProgress();
    }
}

} // namespace vexilon
