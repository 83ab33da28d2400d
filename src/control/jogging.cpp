#include "control/jogging.h"

#include "link/protocol/command_bytes.h"

#include <QAbstractButton>
#include <array>
#include <chrono>

namespace vexilon {
namespace {

struct JogCommand {
    std::uint8_t directionByte;
    const char* line;
};

constexpr std::array<JogCommand, 4> kJogs = {{
    {protocol::kJogUp, "Laser Movement : Up\r\n"},
    {protocol::kJogDown, "Laser Movement : Down\r\n"},
    {protocol::kJogLeft, "Laser Movement : Left\r\n"},
    {protocol::kJogRight, "Laser Movement : Right\r\n"},
}};

} // namespace

Jogging::Jogging(const PositioningButtons& buttons, HotKeyService hotKeys, Services services,
                 QObject* parent)
    : QObject(parent), useKeyboard_(buttons.useKeyboard), hotKeys_(std::move(hotKeys)),
      services_(std::move(services)) {
    connect(&buttons.up, &QAbstractButton::clicked, this, [this] { jog(JogDirection::Up); });
    connect(&buttons.down, &QAbstractButton::clicked, this, [this] { jog(JogDirection::Down); });
    connect(&buttons.left, &QAbstractButton::clicked, this, [this] { jog(JogDirection::Left); });
    connect(&buttons.right, &QAbstractButton::clicked, this, [this] { jog(JogDirection::Right); });
    connect(&buttons.origin, &QAbstractButton::clicked, this, &Jogging::toOrigin);
    connect(&buttons.middle, &QAbstractButton::clicked, this, &Jogging::toMiddleOfImage);
    connect(&buttons.carvingPreview, &QAbstractButton::clicked, this,
            &Jogging::simulateCarvingArea);
    // Clicks only: the box changes state by the operator's hand alone.
    connect(&useKeyboard_, &QAbstractButton::clicked, this, &Jogging::useKeyboardClicked);
}

void Jogging::jog(JogDirection direction) {
    const JogCommand& command = kJogs[static_cast<std::size_t>(direction)];
    services_.send(protocol::kJog);
    services_.send(command.directionByte);
    services_.log(QString::fromLatin1(command.line));
    services_.wait(std::chrono::milliseconds(protocol::kJogWaitMs));
}

void Jogging::toOrigin() {
    services_.send(protocol::kToOrigin);
    services_.log(QStringLiteral("To Origin\r\n\r\n"));
}

void Jogging::toMiddleOfImage() {
    services_.send(protocol::kToMiddleOfImage);
    services_.log(QStringLiteral("To Middle of Image\r\n"));
}

void Jogging::simulateCarvingArea() {
    services_.send(protocol::kSimulateCarvingArea);
    services_.log(QStringLiteral("Simulation Carving Area...\r\n\r\n"));
}

void Jogging::useKeyboardClicked() {
    if (useKeyboard_.isChecked()) {
        arrows_.up = hotKeys_.take(Qt::Key_Up);
        arrows_.down = hotKeys_.take(Qt::Key_Down);
        arrows_.left = hotKeys_.take(Qt::Key_Left);
        arrows_.right = hotKeys_.take(Qt::Key_Right);
        return;
    }
    // The identifiers stay: they are spent, and the next check takes new ones.
    for (const int identifier : {arrows_.up, arrows_.down, arrows_.left, arrows_.right}) {
        hotKeys_.release(identifier);
    }
}

void Jogging::hotKeyPressed(int identifier) {
    // 0 stands for a key that could not be taken; it never fires.
    if (identifier == 0) {
        return;
    }
    if (identifier == arrows_.up) {
        jog(JogDirection::Up);
    }
    if (identifier == arrows_.down) {
        jog(JogDirection::Down);
    }
    if (identifier == arrows_.left) {
        jog(JogDirection::Left);
    }
    if (identifier == arrows_.right) {
        jog(JogDirection::Right);
    }
}

} // namespace vexilon
