#include "control/hot_keys/global_hot_keys.h"

#include "ui/base/blocking_wait.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace vexilon {

GlobalHotKeys::GlobalHotKeys(QObject* parent)
    : QObject(parent), grabs_(X11KeyGrabs::onQtConnection()) {}

GlobalHotKeys::~GlobalHotKeys() {
    // Without the application Qt's connection is gone, and the server dropped
    // the grabs with it; otherwise they would outlive this object.
    while (!taken_.empty() && QCoreApplication::instance() != nullptr) {
        release(taken_.back().identifier);
    }
}

int GlobalHotKeys::take(Qt::Key key) {
    if (attempts_ == std::numeric_limits<int>::max() - kFirstIdentifier) {
        return 0; // identifiers are never reused, so they can run out
    }
    const int identifier = kFirstIdentifier + attempts_++;
    const ArrowGrab grab = grabs_ ? grabs_->grab(key) : ArrowGrab{};
    if (grab.keycode == 0) {
        return 0;
    }
    if (taken_.empty()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    taken_.push_back({identifier, grab});
    return identifier;
}

void GlobalHotKeys::release(int identifier) {
    const auto found = std::find_if(taken_.begin(), taken_.end(),
                                    [&](const Taken& t) { return t.identifier == identifier; });
    if (identifier == 0 || found == taken_.end()) {
        return;
    }
    const ArrowGrab grab = found->grab;
    taken_.erase(found);
    // The server keeps one grab per key and client: a key taken twice stays
    // grabbed until both are given back.
    if (!holdsKey(grab.keycode)) {
        grabs_->ungrab(grab);
        keys_.erase(grab.keycode);
        keys_.erase(grab.keypadKeycode);
    }
    if (taken_.empty() && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool GlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    const auto key = grabs_->grabbedKey(eventType, message);
    if (!key || !holdsKey(key->keycode)) {
        return false;
    }
    if (key->press) {
        keyPressed(key->keycode, key->time);
    } else {
        KeyState& state = keys_[key->keycode];
        state.held = false;
        state.releasedAt = key->time;
    }
    return true;
}

// Raised later, not here: a handler that blocks (a jog waits 50 ms) would
// otherwise run inside Qt's loop over the X events. Without detectable
// auto-repeat the server sends a release before each repeat, with the
// repeat's own time.
void GlobalHotKeys::keyPressed(std::uint8_t keycode, std::uint32_t time) {
    KeyState& state = keys_[keycode];
    const bool repeat = state.held || (state.releasedAt == time && time != 0);
    state.held = true;
    if (state.pending) {
        return;
    }
    state.pending = true;
    state.pendingRepeat = repeat;
    state.identifiers.clear();
    for (const Taken& t : taken_) {
        if (t.grab.holds(keycode)) {
            state.identifiers.push_back(t.identifier);
        }
    }
    QMetaObject::invokeMethod(
        this, [this, keycode] { raisePending(keycode); }, Qt::QueuedConnection);
}

void GlobalHotKeys::raisePending(std::uint8_t keycode) {
    if (windowThreadHeld()) {
        resumeAfterHold(this, [this, keycode] { raisePending(keycode); });
        return;
    }
    const auto found = keys_.find(keycode);
    if (found == keys_.end() || !found->second.pending) {
        return; // given back meanwhile
    }
    KeyState& state = found->second;
    state.pending = false;
    // The release may still wait among the X events: ask the keyboard.
    if (state.pendingRepeat && (!state.held || !grabs_->isDown(keycode))) {
        return;
    }
    const std::vector<int> identifiers = state.identifiers; // a handler may give keys back
    for (const int identifier : identifiers) {
        if (isTaken(identifier)) {
            emit hotKey(identifier);
        }
    }
}

bool GlobalHotKeys::holdsKey(std::uint8_t keycode) const {
    return std::any_of(taken_.begin(), taken_.end(),
                       [&](const Taken& t) { return t.grab.holds(keycode); });
}

bool GlobalHotKeys::isTaken(int identifier) const {
    return std::any_of(taken_.begin(), taken_.end(),
                       [&](const Taken& t) { return t.identifier == identifier; });
}

} // namespace vexilon
