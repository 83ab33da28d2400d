#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace vexilon {

// One entry handed from the watcher thread to the window thread.
struct SerialEvent {
    enum class Kind { Byte, PortEvent, HangUp };
    Kind kind = Kind::Byte;
    int value = 0; // the byte (0..255) or the port event code
};

// The mutex-guarded hand-over between the watcher thread, which appends, and
// the window thread, which takes everything at once. It remembers whether the
// window thread has been told, so that one notice covers a whole burst.
// It holds about kCapacity entries: past that the watcher stops reading, the
// bytes wait in the port, and a flooding peer is held back by the line
// itself instead of filling the memory.
class SerialEventQueue {
public:
    static constexpr std::size_t kCapacity = std::size_t{1} << 16;

    // Both return true when the caller must post a notice: none is pending.
    bool appendBytes(std::span<const std::uint8_t> bytes);
    bool appendPortEvent(int code);
    bool appendHangUp();

    // Everything queued, oldest first; the next append needs a new notice.
    // `resumeReading` is set when the watcher stopped reading for a full
    // queue and must now be woken.
    std::vector<SerialEvent> takeAll(bool* resumeReading = nullptr);

    // For the watcher: true (and remembered) when the queue is full.
    bool stallIfFull();

    // Drops everything queued and forgets any pending notice.
    void clear();

    std::size_t size() const;

private:
    bool noticeNeeded();

    mutable std::mutex mutex_;
    std::vector<SerialEvent> entries_;
    bool noticePending_ = false;
    bool stalled_ = false;
};

} // namespace vexilon
