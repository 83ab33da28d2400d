#include "control/hot_keys/x11_key_grabs.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vexilon {
namespace {

// Key symbols of the X protocol's keyboard encoding.
constexpr std::uint32_t kKeysymLeft = 0xff51;
constexpr std::uint32_t kKeysymUp = 0xff52;
constexpr std::uint32_t kKeysymRight = 0xff53;
constexpr std::uint32_t kKeysymDown = 0xff54;
constexpr std::uint32_t kKeysymNumLock = 0xff7f;
constexpr std::uint32_t kKeysymKeypadLeft = 0xff96;
constexpr std::uint32_t kKeysymKeypadUp = 0xff97;
constexpr std::uint32_t kKeysymKeypadRight = 0xff98;
constexpr std::uint32_t kKeysymKeypadDown = 0xff99;

// Shift, Lock, Control and Mod1..Mod5; the rest of a key event's state are
// mouse buttons, which a key grab does not look at.
constexpr std::uint16_t kModifierBits = 0xff;

std::uint32_t keypadKeysymOf(Qt::Key key) {
    switch (key) {
    case Qt::Key_Left:
        return kKeysymKeypadLeft;
    case Qt::Key_Up:
        return kKeysymKeypadUp;
    case Qt::Key_Right:
        return kKeysymKeypadRight;
    case Qt::Key_Down:
        return kKeysymKeypadDown;
    default:
        return 0;
    }
}

std::uint32_t keysymOf(Qt::Key key) {
    switch (key) {
    case Qt::Key_Left:
        return kKeysymLeft;
    case Qt::Key_Up:
        return kKeysymUp;
    case Qt::Key_Right:
        return kKeysymRight;
    case Qt::Key_Down:
        return kKeysymDown;
    default:
        return 0;
    }
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

} // namespace

std::unique_ptr<X11KeyGrabs> X11KeyGrabs::onQtConnection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return nullptr;
    }
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return nullptr;
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    if (screens.rem == 0) {
        return nullptr;
    }
    return std::unique_ptr<X11KeyGrabs>(new X11KeyGrabs(connection, screens.data->root));
}

namespace {

// Whether `code` is in a keycode list ended by 0.
bool listed(const xcb_keycode_t* list, xcb_keycode_t code) {
    for (; *list != 0; ++list) {
        if (*list == code) {
            return true;
        }
    }
    return false;
}

// The bit of the first modifier that holds one of NumLock's keycodes; 0 when
// none does.
std::uint16_t modifierHolding(const xcb_get_modifier_mapping_reply_t& mapping,
                              const xcb_keycode_t* numLockCodes) {
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(&mapping);
    const int perModifier = mapping.keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code != 0 && listed(numLockCodes, code)) {
                return static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
    return 0;
}

} // namespace

X11KeyGrabs::X11KeyGrabs(xcb_connection_t* connection, std::uint32_t root)
    : connection_(connection), root_(root), symbols_(xcb_key_symbols_alloc(connection)) {
    // Which of Mod1..Mod5 NumLock sits on is the server's choice; look it up
    // rather than assume Mod2.
    const XcbReply<xcb_keycode_t> numLockCodes(
        symbols_ ? xcb_key_symbols_get_keycode(symbols_, kKeysymNumLock) : nullptr);
    const XcbReply<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
        connection_, xcb_get_modifier_mapping(connection_), nullptr));
    if (numLockCodes && mapping) {
        numLockMask_ = modifierHolding(*mapping, numLockCodes.get());
    }
    const std::uint16_t lock = XCB_MOD_MASK_LOCK;
    lockCombinations_ = {0, lock, numLockMask_, static_cast<std::uint16_t>(lock | numLockMask_)};
}

X11KeyGrabs::~X11KeyGrabs() {
    if (symbols_ != nullptr) {
        xcb_key_symbols_free(symbols_);
    }
}

std::uint8_t X11KeyGrabs::keycodeOf(std::uint32_t keysym) const {
    if (symbols_ == nullptr || keysym == 0) {
        return 0;
    }
    const XcbReply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols_, keysym));
    return codes ? codes.get()[0] : 0;
}

ArrowGrab X11KeyGrabs::grab(Qt::Key key) {
    ArrowGrab grab;
    grab.keycode = grabKeycode(keysymOf(key), true);
    if (grab.keycode != 0) {
        grab.keypadKeycode = grabKeycode(keypadKeysymOf(key), false);
    }
    return grab;
}

// All lock combinations of the key, or those without NumLock; 0 when the key
// has no keycode or any of them was refused, and then none is left behind.
std::uint8_t X11KeyGrabs::grabKeycode(std::uint32_t keysym, bool withNumLock) {
    const std::uint8_t keycode = keycodeOf(keysym);
    if (keycode == 0) {
        return 0;
    }
    // Without NumLock on the keyboard two combinations are the same; grabbing
    // one twice would be harmless, but it would be undone twice too.
    std::vector<std::uint16_t> combinations;
    for (const std::uint16_t modifiers : lockCombinations_) {
        const bool numLock = numLockMask_ != 0 && (modifiers & numLockMask_) != 0;
        if ((withNumLock || !numLock) &&
            std::find(combinations.begin(), combinations.end(), modifiers) == combinations.end()) {
            combinations.push_back(modifiers);
        }
    }
    std::vector<xcb_void_cookie_t> cookies;
    for (const std::uint16_t modifiers : combinations) {
        // Not owner-events: a press goes to the root window even when one of
        // the console's own windows has the focus, so it is always recognised.
        cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool refused = false;
    std::vector<bool> held;
    for (const xcb_void_cookie_t cookie : cookies) {
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(connection_, cookie));
        held.push_back(error == nullptr);
        refused |= error != nullptr;
    }
    if (!refused) {
        return keycode;
    }
    for (std::size_t i = 0; i < combinations.size(); ++i) {
        if (held[i]) {
            xcb_ungrab_key(connection_, keycode, root_, combinations[i]);
        }
    }
    xcb_flush(connection_);
    return 0;
}

// Ungrabbing a combination that was never grabbed (the keypad's with
// NumLock) is harmless.
void X11KeyGrabs::ungrab(const ArrowGrab& grab) {
    for (const std::uint8_t keycode : {grab.keycode, grab.keypadKeycode}) {
        if (keycode == 0) {
            continue;
        }
        for (const std::uint16_t modifiers : lockCombinations_) {
            xcb_ungrab_key(connection_, keycode, root_, modifiers);
        }
    }
    xcb_flush(connection_);
}

std::optional<GrabbedKeyEvent> X11KeyGrabs::grabbedKey(const QByteArray& eventType,
                                                       const void* message) const {
    if (eventType != "xcb_generic_event_t") {
        return std::nullopt;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return std::nullopt;
    }
    // A release has the same layout as a press.
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->event != root_) {
        return std::nullopt;
    }
    const auto locks = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLockMask_);
    if (type == XCB_KEY_PRESS && (key->state & kModifierBits & ~locks) != 0) {
        return std::nullopt;
    }
    return GrabbedKeyEvent{key->detail, type == XCB_KEY_PRESS, key->time};
}

bool X11KeyGrabs::isDown(std::uint8_t keycode) const {
    const XcbReply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr));
    return keymap != nullptr && (keymap->keys[keycode / 8] & (1u << (keycode % 8))) != 0;
}

} // namespace vexilon
