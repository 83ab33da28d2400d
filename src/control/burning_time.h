#pragma once

#include "ui/base/services.h"

#include <QObject>

class QLabel;

namespace vexilon {

class SliderBar;

// The burning-time slider: a mouse move over it shows its position, a left
// release on it sends the position to the machine and logs it.
class BurningTime : public QObject {
    Q_OBJECT
public:
    BurningTime(SliderBar& slider, QLabel& label, Services services, QObject* parent = nullptr);

    void show();
    void send();

private:
    SliderBar& slider_;
    QLabel& label_;
    Services services_;
};

} // namespace vexilon
