#include "control/burning_time.h"

#include "control/burning_time_value.h"
#include "ui/slider_bar.h"

#include <QLabel>

namespace vexilon {

BurningTime::BurningTime(SliderBar& slider, QLabel& label, SendByte send, Log log, QObject* parent)
    : QObject(parent), slider_(slider), label_(label), send_(std::move(send)),
      log_(std::move(log)) {
    connect(&slider_, &SliderBar::mouseMoved, this, &BurningTime::show);
    connect(&slider_, &SliderBar::leftButtonReleased, this, &BurningTime::send);
}

void BurningTime::show() {
    label_.setText(QString::fromStdString(burningTimeText(slider_.position())));
}

void BurningTime::send() {
    const std::int32_t position = slider_.position();
    send_(burningTimeByte(position));
    log_(QString::fromStdString(burningTimeText(position)) + QStringLiteral("\r\n\r\n"));
}

} // namespace vexilon
