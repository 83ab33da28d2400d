#include "ui/slider_bar.h"

#include <QMouseEvent>

#include <algorithm>

namespace vexilon {

SliderBar::SliderBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setMouseTracking(true);
    position_ = value();
    connect(this, &QSlider::valueChanged, this, &SliderBar::thumbMoved);
}

void SliderBar::setPosition(int value) {
    position_ = std::clamp(value, 0, 32767);
    setting_ = true;
    setValue(position_);
    setting_ = false;
}

void SliderBar::thumbMoved(int value) {
    if (!setting_) {
        position_ = value;
    }
}

void SliderBar::mouseMoveEvent(QMouseEvent* event) {
    QSlider::mouseMoveEvent(event);
    emit mouseMoved();
}

void SliderBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
    }
    QSlider::mousePressEvent(event);
}

void SliderBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        emit leftButtonReleased();
    }
}

} // namespace vexilon
