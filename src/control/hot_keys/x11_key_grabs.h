#pragma once

#include <QByteArray>
#include <Qt>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

struct xcb_connection_t;
struct _XCBKeySymbols; // xcb_key_symbols_t

namespace vexilon {

// What one grab of an arrow holds: the arrow key, and the keypad's key of the
// same direction (0 when the keyboard has none or another program holds it).
struct ArrowGrab {
    std::uint8_t keycode = 0;
    std::uint8_t keypadKeycode = 0;
    bool holds(std::uint8_t code) const {
        return code != 0 && (code == keycode || code == keypadKeycode);
    }
};

// A press or a release of a grabbed key, with the server's time of it.
struct GrabbedKeyEvent {
    std::uint8_t keycode = 0;
    bool press = false;
    std::uint32_t time = 0;
};

// Passive grabs of single keys on the X server's root window, made on Qt's own
// connection so that the presses come through Qt's event loop. An arrow is
// grabbed without modifiers, once for every combination of CapsLock and
// NumLock, so that neither lock key switches it off; the keypad's arrow only
// while NumLock is off, when it is an arrow and not a digit.
class X11KeyGrabs {
public:
    // Null when the application does not run on an X server.
    static std::unique_ptr<X11KeyGrabs> onQtConnection();
    ~X11KeyGrabs();
    X11KeyGrabs(const X11KeyGrabs&) = delete;
    X11KeyGrabs& operator=(const X11KeyGrabs&) = delete;

    // A keycode of 0 when the arrow has none on this keyboard or the server
    // refused a grab of it (another client holds the key); a refusal leaves
    // none of the key's grabs behind.
    ArrowGrab grab(Qt::Key key);
    void ungrab(const ArrowGrab& grab);

    // A press (auto-repeat included) or release that one of the grabs
    // delivered; nothing for any other event.
    std::optional<GrabbedKeyEvent> grabbedKey(const QByteArray& eventType,
                                              const void* message) const;

    // Whether the key is down on the keyboard now (a round trip to the server).
    bool isDown(std::uint8_t keycode) const;

private:
    X11KeyGrabs(xcb_connection_t* connection, std::uint32_t root);
    std::uint8_t keycodeOf(std::uint32_t keysym) const;
    std::uint8_t grabKeycode(std::uint32_t keysym, bool withNumLock);

    xcb_connection_t* connection_;
    std::uint32_t root_;
    _XCBKeySymbols* symbols_;
    std::uint16_t numLockMask_ = 0;
    std::array<std::uint16_t, 4> lockCombinations_{};
};

} // namespace vexilon
