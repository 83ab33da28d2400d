#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QLabel;

namespace vexilon {

class SliderBar;

// The burning-time slider: a mouse move over it shows its position, a left
// release on it sends the position to the machine and logs it.
class BurningTime : public QObject {
    Q_OBJECT
public:
    using SendByte = std::function<void(std::uint8_t)>;
    using Log = std::function<void(const QString&)>;

    BurningTime(SliderBar& slider, QLabel& label, SendByte send, Log log,
                QObject* parent = nullptr);

    void show();
    void send();

private:
    SliderBar& slider_;
    QLabel& label_;
    SendByte send_;
    Log log_;
};

} // namespace vexilon
