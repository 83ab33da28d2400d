#include "ui/slider_bar.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

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
    if (event->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(event);
        return;
    }
    leftPressed_ = true;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect thumb =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QPoint at = event->position().toPoint();
    if (thumb.contains(at) || groove.contains(at) || !groove.isValid()) {
        QSlider::mousePressEvent(event);
        return;
    }
    // Most styles draw a thin groove and page only on it; the whole height
    // of the control is the track that pages.
    const QPoint onGroove(std::clamp(at.x(), groove.left(), groove.right()), groove.center().y());
    QMouseEvent moved(event->type(), QPointF(onGroove), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(),
                      event->modifiers(), event->pointingDevice());
    QSlider::mousePressEvent(&moved);
    event->setAccepted(moved.isAccepted());
}

void SliderBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        emit leftButtonReleased();
    }
}

} // namespace vexilon
