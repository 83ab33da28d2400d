#pragma once

#include "link/serial/serial_event_queue.h"
#include "link/serial/serial_line_errors.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

namespace vexilon {

// The one thread that reads and writes an open serial port. It sleeps in
// poll() on the port and on an eventfd that wakes it for a write or a stop;
// received bytes go to the event queue, and `notify` is called (on the
// watcher thread) whenever the queue needs a notice to the window thread.
// After each read it lets the port gather bytes for a few milliseconds
// before reading again, so that a machine reporting byte by byte does not
// wake the console for every byte. Bytes that `isRoutine` accepts are told
// at most once a screen frame; any other byte, a port event or a hang-up is
// told at once, together with whatever routine bytes came before it.
//
// A hang-up (POLLHUP, a read of 0, EIO) ends the thread at once and queues a
// hang-up entry after the bytes read before it; writes then fail until the
// port is opened again. A write fails when the port takes no byte for a
// second.
class SerialWatcher {
public:
    // Starts watching the open, non-blocking port `fd` (which stays the
    // caller's to close after the watcher is gone). Null when the system
    // would give no eventfd or no thread.
    using ByteTest = bool (*)(std::uint8_t);
    static std::unique_ptr<SerialWatcher> start(int fd, SerialEventQueue& queue,
                                                std::function<void()> notify,
                                                ByteTest isRoutine = nullptr);

    // Stops the thread and waits for it.
    ~SerialWatcher();

    SerialWatcher(const SerialWatcher&) = delete;
    SerialWatcher& operator=(const SerialWatcher&) = delete;

    // Writes all of `bytes`, waits until the port has
    // sent them, and only then returns: true on success, false on a failed
    // write, a write or drain that made no progress for a second, or when
    // the thread has ended.
    // `whileWaiting`, when given, is called on the caller's thread every few
    // milliseconds until then; it must not write.
    bool write(std::span<const std::uint8_t> bytes, const std::function<void()>& whileWaiting = {});

    // True once the thread has ended on its own (hang-up or a failing port).
    bool hasEnded() const;

    // Wakes the thread to read again after the queue was full.
    void resumeReading() { wake(); }

private:
    using Clock = std::chrono::steady_clock;

    SerialWatcher(int fd, int wakeFd, SerialEventQueue& queue, std::function<void()> notify,
                  ByteTest isRoutine);

    void run();
    bool watchOnce();
    void wake();
    bool serveRequest();
    bool readAvailable();
    bool writeAll(std::span<const std::uint8_t> bytes);
    bool waitWritable(Clock::time_point deadline);
    bool drain();
    void queueLineErrors();
    void tell(bool noticeNeeded, bool atOnce);
    void tellIfDue();
    Clock::time_point nextReadAt() const;

    const int fd_;
    const int wakeFd_;
    SerialEventQueue& queue_;
    const std::function<void()> notify_;
    const ByteTest isRoutine_;
    std::optional<LineErrorCounts> lineErrors_; // watcher thread only
    bool portGone_ = false;                     // watcher thread only
    Clock::time_point gatherUntil_;             // watcher thread only
    Clock::time_point lastNotice_;              // watcher thread only
    bool noticeOwed_ = false;                   // watcher thread only

    mutable std::mutex mutex_;
    std::condition_variable writeDone_;
    bool stopRequested_ = false;
    bool ended_ = false;
    bool writePending_ = false;
    bool writeResult_ = false;
    std::span<const std::uint8_t> writeBytes_;

    std::thread thread_;
};

} // namespace vexilon
