#pragma once

#include <QObject>
#include <QTimer>

namespace vexilon {

// A periodic timer driven by its interval alone: 0 stops it, a new non-zero
// interval (re)starts it with that period, and the interval it already has
// changes nothing, so a running timer keeps its phase.
class IntervalTimer : public QObject {
    Q_OBJECT

public:
    explicit IntervalTimer(QObject* parent = nullptr);

    // Negative intervals are taken as 0.
    void setIntervalMs(int ms);
    int intervalMs() const { return interval_; }
    bool isRunning() const { return timer_.isActive(); }

signals:
    void tick();

private:
    QTimer timer_;
    int interval_ = 0;
};

} // namespace vexilon
