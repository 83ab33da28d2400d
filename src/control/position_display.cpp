#include "control/position_display.h"

#include <QLineEdit>

#include <chrono>

namespace vexilon {
namespace {

constexpr std::chrono::milliseconds kFrame{16};

} // namespace

PositionDisplay::PositionDisplay(QLineEdit& xBox, QLineEdit& yBox, QObject* parent)
    : QObject(parent), xBox_(xBox), yBox_(yBox) {
    frame_.setSingleShot(true);
    frame_.setTimerType(Qt::PreciseTimer);
    connect(&frame_, &QTimer::timeout, this, &PositionDisplay::showPending);
}

// Dots come in bursts of a frame's worth: the boxes take the burst's last
// one, once the burst has been handled, not its first.
void PositionDisplay::show(int x, int y) {
    pending_ = std::pair(x, y);
    if (frame_.isActive()) {
        return;
    }
    const auto since = std::chrono::milliseconds(lastShown_.isValid() ? lastShown_.elapsed() : 0);
    frame_.start(!lastShown_.isValid() || since >= kFrame ? std::chrono::milliseconds(0)
                                                          : kFrame - since);
}

void PositionDisplay::reset() {
    frame_.stop();
    pending_.reset();
    const QString zero = QStringLiteral("000");
    setTexts(zero, zero);
}

void PositionDisplay::showPending() {
    if (!pending_) {
        return;
    }
    const auto [x, y] = *pending_;
    pending_.reset();
    lastShown_.start();
    setTexts(QString::number(x), QString::number(y));
}

void PositionDisplay::setTexts(const QString& x, const QString& y) {
    if (xBox_.text() != x) {
        xBox_.setText(x);
    }
    if (yBox_.text() != y) {
        yBox_.setText(y);
    }
}

} // namespace vexilon
