#include "link/serial/serial_watcher.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <system_error>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vexilon {
namespace {

// A write fails once the port has taken no byte for this long (a peer that
// stopped reading), however long the whole write takes while it moves.
constexpr std::chrono::milliseconds kStallLimit{1000};
// How often a drain looks at the output queue: a few bytes' time on the line.
constexpr std::chrono::milliseconds kDrainPoll{2};

// How long received bytes gather in the port after a read before the next
// one: a few reports, a small part of a screen frame.
constexpr std::chrono::milliseconds kGather{4};
// Routine bytes reach the window thread at most this often: what they show
// is painted at most once a screen frame anyway.
constexpr std::chrono::microseconds kFrame{16'667};
// How often a caller waiting for a long write gets a turn of its own.
constexpr std::chrono::milliseconds kCallerTurn{10};

constexpr short kGone = POLLHUP | POLLERR | POLLNVAL;

bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

} // namespace

std::unique_ptr<SerialWatcher> SerialWatcher::start(int fd, SerialEventQueue& queue,
                                                    std::function<void()> notify,
                                                    ByteTest isRoutine) {
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        return nullptr;
    }
    std::unique_ptr<SerialWatcher> watcher(
        new SerialWatcher(fd, wakeFd, queue, std::move(notify), isRoutine));
    try {
        watcher->thread_ = std::thread([w = watcher.get()] { w->run(); });
    } catch (const std::system_error&) {
        return nullptr; // the destructor closes the eventfd; there is no thread to join
    }
    return watcher;
}

SerialWatcher::SerialWatcher(int fd, int wakeFd, SerialEventQueue& queue,
                             std::function<void()> notify, ByteTest isRoutine)
    : fd_(fd), wakeFd_(wakeFd), queue_(queue), notify_(std::move(notify)), isRoutine_(isRoutine),
      lineErrors_(readLineErrorCounts(fd)) {}

SerialWatcher::~SerialWatcher() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake();
    if (thread_.joinable()) {
        thread_.join();
    }
    ::close(wakeFd_);
}

bool SerialWatcher::write(std::span<const std::uint8_t> bytes,
                          const std::function<void()>& whileWaiting) {
    std::unique_lock lock(mutex_);
    if (ended_) {
        return false;
    }
    writeBytes_ = bytes;
    writeResult_ = false;
    writePending_ = true;
    wake();
    const auto done = [this] { return !writePending_ || ended_; };
    while (!writeDone_.wait_for(lock, kCallerTurn, done)) {
        if (whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    const bool served = !writePending_;
    writePending_ = false;
    return served && writeResult_;
}

bool SerialWatcher::hasEnded() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

void SerialWatcher::wake() {
    const std::uint64_t one = 1;
    // The counter cannot overflow from our few wake-ups, so this never fails.
    (void)!::write(wakeFd_, &one, sizeof one);
}

void SerialWatcher::run() {
    while (watchOnce()) {
    }
    std::unique_lock lock(mutex_);
    ended_ = true;
    writeDone_.notify_all();
    const bool hungUp = !stopRequested_;
    lock.unlock();
    if (hungUp) {
        tell(queue_.appendHangUp(), true);
    }
}

// `noticeNeeded`: the queue has no notice on its way. `atOnce`: what was
// queued must not wait for the frame.
void SerialWatcher::tell(bool noticeNeeded, bool atOnce) {
    if (!noticeNeeded && !noticeOwed_) {
        return; // the window thread has been told and has not yet taken it all
    }
    const auto now = Clock::now();
    if (atOnce || now - lastNotice_ >= kFrame) {
        noticeOwed_ = false;
        lastNotice_ = now;
        notify_();
    } else {
        noticeOwed_ = true;
    }
}

void SerialWatcher::tellIfDue() {
    if (noticeOwed_ && Clock::now() - lastNotice_ >= kFrame) {
        tell(false, true);
    }
}

// The port is read again when the gathering ends, or earlier when a notice
// falls due, so that the notice carries all the line brought until then.
SerialWatcher::Clock::time_point SerialWatcher::nextReadAt() const {
    return noticeOwed_ ? std::min(gatherUntil_, lastNotice_ + kFrame) : gatherUntil_;
}

// One wait for the port or a request, and what it brought. False when the
// thread must end.
bool SerialWatcher::watchOnce() {
    const auto now = Clock::now();
    const auto readAt = nextReadAt();
    // While gathering, the port is watched for a hang-up only.
    const bool gathering = now < readAt;
    // A full queue is read again only once the window thread has taken it
    // and woken this thread.
    const bool stalled = queue_.stallIfFull();
    const bool reading = !gathering && !stalled;
    std::optional<Clock::time_point> wakeAt;
    if (gathering && !stalled) {
        wakeAt = readAt;
    } else if (noticeOwed_) {
        wakeAt = lastNotice_ + kFrame;
    }
    std::array<pollfd, 2> fds{
        {{fd_, static_cast<short>(reading ? POLLIN : 0), 0}, {wakeFd_, POLLIN, 0}}};
    // ppoll: a frame is not a whole number of milliseconds.
    timespec timeout{};
    if (wakeAt) {
        const auto left = std::max(Clock::duration::zero(), *wakeAt - now);
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        timeout.tv_sec = static_cast<time_t>(seconds.count());
        timeout.tv_nsec = static_cast<long>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count());
    }
    if (ppoll(fds.data(), fds.size(), wakeAt ? &timeout : nullptr, nullptr) < 0) {
        return errno == EINTR;
    }
    tellIfDue();
    // Requests first, so that a peer that never pauses cannot hold up a send.
    if ((fds[1].revents & POLLIN) && !serveRequest()) {
        return false;
    }
    const short port = fds[0].revents;
    if ((port & POLLIN) && !readAvailable()) {
        return false;
    }
    return (port & kGone) == 0;
}

// False when the thread must end (stop requested, or the port went away).
bool SerialWatcher::serveRequest() {
    std::uint64_t count = 0;
    (void)!::read(wakeFd_, &count, sizeof count);

    std::unique_lock lock(mutex_);
    if (stopRequested_) {
        return false;
    }
    if (!writePending_) {
        return true;
    }
    const auto bytes = writeBytes_;
    lock.unlock();
    const bool ok = writeAll(bytes);
    lock.lock();
    writeResult_ = ok;
    writePending_ = false;
    writeDone_.notify_all();
    return !portGone_;
}

// One read per wake-up, so that a peer that never pauses cannot starve a
// waiting send. False when the port hung up.
bool SerialWatcher::readAvailable() {
    queueLineErrors();
    std::array<std::uint8_t, 4096> buffer;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n > 0) {
            const std::span bytes(buffer.data(), static_cast<std::size_t>(n));
            const bool routine =
                isRoutine_ != nullptr && std::all_of(bytes.begin(), bytes.end(), isRoutine_);
            tell(queue_.appendBytes(bytes), !routine);
            // A line at 57,600 baud brings a byte every 174 us: reading each
            // one as it comes would wake both threads thousands of times a
            // second. A full buffer means more is waiting: no pause then.
            if (static_cast<std::size_t>(n) < buffer.size()) {
                gatherUntil_ = Clock::now() + kGather;
            }
            return true;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // 0 is a hang-up (VMIN is 1); EIO a vanished device. Any other
        // error would only repeat at once, so it ends the watcher as well
        // rather than spin.
        return n < 0 && wouldBlock(errno);
    }
}

void SerialWatcher::queueLineErrors() {
    if (!lineErrors_) {
        return;
    }
    const auto now = readLineErrorCounts(fd_);
    if (!now) {
        return;
    }
    for (int code : lineEventsBetween(*lineErrors_, *now)) {
        tell(queue_.appendPortEvent(code), true);
    }
    lineErrors_ = now;
}

bool SerialWatcher::writeAll(std::span<const std::uint8_t> bytes) {
    auto deadline = std::chrono::steady_clock::now() + kStallLimit;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            deadline = std::chrono::steady_clock::now() + kStallLimit;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n == 0 || wouldBlock(errno)) {
            if (!waitWritable(deadline)) {
                return false;
            }
        } else {
            portGone_ = errno == EIO || errno == ENXIO || errno == ENODEV;
            return false;
        }
    }
    return drain();
}

// Waits until the port takes more bytes. False on time-out or hang-up.
bool SerialWatcher::waitWritable(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd fd{fd_, POLLOUT, 0};
        const int r = poll(&fd, 1, static_cast<int>(std::min<std::int64_t>(left.count(), INT_MAX)));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0 || (fd.revents & kGone)) {
            portGone_ = true;
            return false;
        }
        if (fd.revents & POLLOUT) {
            return true;
        }
    }
}

// tcdrain would wait without limit on a device that stopped sending; the
// output queue is watched instead, under the same rule as the write: it must
// shrink at least once a second.
bool SerialWatcher::drain() {
    auto deadline = std::chrono::steady_clock::now() + kStallLimit;
    int last = INT_MAX;
    for (;;) {
        int queued = 0;
        if (ioctl(fd_, TIOCOUTQ, &queued) != 0) {
            portGone_ = errno == EIO || errno == ENXIO || errno == ENODEV;
            // A port that cannot tell its queue has nothing more to wait for.
            return !portGone_;
        }
        if (queued <= 0) {
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (queued < last) {
            last = queued;
            deadline = now + kStallLimit;
        } else if (now >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kDrainPoll);
    }
}

} // namespace vexilon
