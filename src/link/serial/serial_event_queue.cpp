#include "link/serial/serial_event_queue.h"

#include <utility>

namespace vexilon {

bool SerialEventQueue::appendBytes(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    for (std::uint8_t byte : bytes) {
        entries_.push_back({SerialEvent::Kind::Byte, byte});
    }
    return noticeNeeded();
}

bool SerialEventQueue::appendPortEvent(int code) {
    std::lock_guard lock(mutex_);
    entries_.push_back({SerialEvent::Kind::PortEvent, code});
    return noticeNeeded();
}

bool SerialEventQueue::appendHangUp() {
    std::lock_guard lock(mutex_);
    entries_.push_back({SerialEvent::Kind::HangUp, 0});
    return noticeNeeded();
}

std::vector<SerialEvent> SerialEventQueue::takeAll(bool* resumeReading) {
    std::lock_guard lock(mutex_);
    noticePending_ = false;
    if (resumeReading != nullptr) {
        *resumeReading = std::exchange(stalled_, false);
    }
    return std::exchange(entries_, {});
}

bool SerialEventQueue::stallIfFull() {
    std::lock_guard lock(mutex_);
    stalled_ = entries_.size() >= kCapacity;
    return stalled_;
}

void SerialEventQueue::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    noticePending_ = false;
    stalled_ = false;
}

std::size_t SerialEventQueue::size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

bool SerialEventQueue::noticeNeeded() {
    return !std::exchange(noticePending_, true);
}

} // namespace vexilon
