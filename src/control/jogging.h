#pragma once

#include "ui/base/services.h"

#include <QObject>
#include <cstdint>
#include <functional>

class QAbstractButton;

namespace vexilon {

// The jog buttons, the three positioning buttons and the keyboard choice.
struct PositioningButtons {
    QAbstractButton& up;
    QAbstractButton& down;
    QAbstractButton& left;
    QAbstractButton& right;
    QAbstractButton& origin;
    QAbstractButton& middle;
    QAbstractButton& carvingPreview;
    QAbstractButton& useKeyboard;
};

// System-wide keys: `take` grabs a key for the console and yields its
// identifier (0 when the key could not be had), `release` gives one back.
struct HotKeyService {
    std::function<int(Qt::Key)> take;
    std::function<void(int)> release;
};

// The identifiers of the latest registration of the arrow keys, 0 before any.
struct ArrowHotKeys {
    int up = 0;
    int down = 0;
    int left = 0;
    int right = 0;
};

enum class JogDirection : std::uint8_t { Up, Down, Left, Right };

// Moves the laser head by hand: four jogs from the buttons or the arrow keys,
// and the origin, middle-of-image and carving-area commands. Where the head
// goes is the machine's business; the console only sends the commands.
class Jogging : public QObject {
    Q_OBJECT
public:
    Jogging(const PositioningButtons& buttons, HotKeyService hotKeys, Services services,
            QObject* parent = nullptr);

    // Blocks for the jog wait before it returns, so that held keys cannot
    // flood the machine.
    void jog(JogDirection direction);
    void toOrigin();
    void toMiddleOfImage();
    void simulateCarvingArea();

    // The keyboard choice was clicked: takes or releases the four arrows.
    void useKeyboardClicked();
    // A hot key fired; identifiers other than the current arrows' are ignored.
    void hotKeyPressed(int identifier);

    const ArrowHotKeys& arrowHotKeys() const { return arrows_; }

private:
    QAbstractButton& useKeyboard_;
    HotKeyService hotKeys_;
    Services services_;
    ArrowHotKeys arrows_;
};

} // namespace vexilon
