#include "control/burning_time.h"

#include "control/burning_time_value.h"
#include "ui/slider_bar.h"

#include <QLabel>

namespace vexilon {

BurningTime::BurningTime(SliderBar& slider, QLabel& label, Services services, QObject* parent)
    : QObject(parent), slider_(slider), label_(label), services_(std::move(services)) {
    connect(&slider_, &SliderBar::mouseMoved, this, &BurningTime::show);
    connect(&slider_, &SliderBar::leftButtonReleased, this, &BurningTime::send);
}

void BurningTime::show() {
    label_.setText(QString::fromStdString(burningTimeText(slider_.position())));
}

void BurningTime::send() {
    const std::int32_t position = slider_.position();
    services_.send(burningTimeByte(position));
    services_.log(QString::fromStdString(burningTimeText(position)) + QStringLiteral("\r\n\r\n"));
}

} // namespace vexilon
