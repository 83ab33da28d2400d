#pragma once

#include "control/hot_keys/x11_key_grabs.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <Qt>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace vexilon {

// System-wide hot keys: a taken key fires for the console whichever window
// has the focus, and no other program sees it. Every attempt to take a key
// spends the next identifier, counting from 33001 for the life of the object,
// whether it succeeds or not; a failed attempt yields 0. Off X11 (the
// offscreen platform, Wayland) every attempt fails, silently.
class GlobalHotKeys : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    static constexpr int kFirstIdentifier = 33001;

    explicit GlobalHotKeys(QObject* parent = nullptr);
    ~GlobalHotKeys() override;

    // The key without modifiers, whatever the lock keys; an arrow brings the
    // keypad's arrow of the same direction along (NumLock off).
    int take(Qt::Key key);
    // Identifiers that are not taken (0 included) are ignored.
    void release(int identifier);

    std::size_t takenCount() const { return taken_.size(); }

signals:
    // A press of a taken key, in the order of the window thread's other
    // events. A held key's repeats never queue up behind a slow handler: a
    // repeat that comes while the key's previous press is still to be
    // raised is dropped, and none is raised once the key is up again, so
    // the laser stops when the hand lets go. A single press is always
    // raised, unless its key was given back before its turn came.
    void hotKey(int identifier);

private:
    struct Taken {
        int identifier;
        ArrowGrab grab;
    };
    // A physical key's presses between the X events and the signal.
    struct KeyState {
        bool held = false;
        std::uint32_t releasedAt = 0; // server time of the last release
        bool pending = false;         // a press waits for its turn
        bool pendingRepeat = false;   // ... and it was a repeat of a held key
        std::vector<int> identifiers; // what the waiting press is for
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void keyPressed(std::uint8_t keycode, std::uint32_t time);
    void raisePending(std::uint8_t keycode);
    bool isTaken(int identifier) const;
    bool holdsKey(std::uint8_t keycode) const;

    std::unique_ptr<X11KeyGrabs> grabs_;
    std::vector<Taken> taken_;
    std::map<std::uint8_t, KeyState> keys_;
    int attempts_ = 0;
};

} // namespace vexilon
