#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <Qt>

#include <cstdint>
#include <memory>
#include <vector>

namespace vexilon {

class X11KeyGrabs;

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

    // The key without modifiers, whatever the lock keys.
    int take(Qt::Key key);
    // Identifiers that are not taken (0 included) are ignored.
    void release(int identifier);

    std::size_t takenCount() const { return taken_.size(); }

signals:
    // Every press of a taken key, auto-repeat included, in the order of the
    // window thread's other events; a press of a key given back before its
    // turn came is dropped.
    void hotKey(int identifier);

private:
    struct Taken {
        int identifier;
        std::uint8_t keycode;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool isTaken(int identifier) const;

    std::unique_ptr<X11KeyGrabs> grabs_;
    std::vector<Taken> taken_;
    int attempts_ = 0;
};

} // namespace vexilon
