#pragma once

#include <QByteArray>
#include <Qt>

#include <array>
#include <cstdint>
#include <memory>

struct xcb_connection_t;
struct _XCBKeySymbols; // xcb_key_symbols_t

namespace vexilon {

// Passive grabs of single keys on the X server's root window, made on Qt's own
// connection so that the presses come through Qt's event loop. A key is
// grabbed without modifiers, once for every combination of CapsLock and
// NumLock, so that neither lock key switches it off.
class X11KeyGrabs {
public:
    // Null when the application does not run on an X server.
    static std::unique_ptr<X11KeyGrabs> onQtConnection();
    ~X11KeyGrabs();
    X11KeyGrabs(const X11KeyGrabs&) = delete;
    X11KeyGrabs& operator=(const X11KeyGrabs&) = delete;

    // The grabbed key's keycode, or 0 when the key has none on this keyboard
    // or the server refused a grab (another client holds the key); a refusal
    // leaves none of the key's grabs behind.
    std::uint8_t grab(Qt::Key key);
    void ungrab(std::uint8_t keycode);

    // The keycode of a key press that one of the grabs delivered (auto-repeat
    // included), or 0 for any other event.
    std::uint8_t grabbedPress(const QByteArray& eventType, const void* message) const;

private:
    X11KeyGrabs(xcb_connection_t* connection, std::uint32_t root);
    std::uint8_t keycodeOf(std::uint32_t keysym) const;

    xcb_connection_t* connection_;
    std::uint32_t root_;
    _XCBKeySymbols* symbols_;
    std::uint16_t numLockMask_ = 0;
    std::array<std::uint16_t, 4> lockCombinations_{};
};

} // namespace vexilon
