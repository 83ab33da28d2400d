#include "control/hot_keys/global_hot_keys.h"

#include "control/hot_keys/x11_key_grabs.h"

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
    const std::uint8_t keycode = grabs_ ? grabs_->grab(key) : 0;
    if (keycode == 0) {
        return 0;
    }
    if (taken_.empty()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    taken_.push_back({identifier, keycode});
    return identifier;
}

void GlobalHotKeys::release(int identifier) {
    const auto found = std::find_if(taken_.begin(), taken_.end(),
                                    [&](const Taken& t) { return t.identifier == identifier; });
    if (identifier == 0 || found == taken_.end()) {
        return;
    }
    const std::uint8_t keycode = found->keycode;
    taken_.erase(found);
    // The server keeps one grab per key and client: a key taken twice stays
    // grabbed until both are given back.
    const bool stillTaken = std::any_of(taken_.begin(), taken_.end(),
                                        [&](const Taken& t) { return t.keycode == keycode; });
    if (!stillTaken) {
        grabs_->ungrab(keycode);
    }
    if (taken_.empty() && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool GlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    const std::uint8_t keycode = grabs_->grabbedPress(eventType, message);
    if (keycode == 0) {
        return false;
    }
    // Posted, not raised here: a handler that blocks (a jog waits 50 ms)
    // would otherwise run inside Qt's loop over the X events, and a held key
    // repeating faster than the handler returns would keep that loop, and
    // with it the window thread, from ever getting to timers and serial data.
    bool ours = false;
    for (const Taken& t : taken_) {
        if (t.keycode == keycode) {
            ours = true;
            QMetaObject::invokeMethod(
                this,
                [this, identifier = t.identifier] {
                    if (isTaken(identifier)) {
                        emit hotKey(identifier);
                    }
                },
                Qt::QueuedConnection);
        }
    }
    return ours;
}

bool GlobalHotKeys::isTaken(int identifier) const {
    return std::any_of(taken_.begin(), taken_.end(),
                       [&](const Taken& t) { return t.identifier == identifier; });
}

} // namespace vexilon
