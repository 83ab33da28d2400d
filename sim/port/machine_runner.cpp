#include "sim/port/machine_runner.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include <poll.h>

namespace vexilon::sim {
namespace {

// While nobody has the port open the master reports a hang-up on every poll;
// the thread then looks again this often instead of spinning.
constexpr int kNoPeerPollMs = 10;

// The hang-up fault lets the console read the last reports first, so that it
// has a job on its screen when the line drops.
constexpr auto kHangUpDrain = std::chrono::milliseconds(250);

// Bytes the machine may read at once after a quiet spell at the line rate.
constexpr std::size_t kInBurst = 64;

} // namespace

void SimulatedMachine::Runner::run() {
    for (;;) {
        const auto now = Clock::now();
        const Step step = advance(now);
        if (step == Step::Stop) {
            return;
        }
        if (step == Step::Watch) {
            changed.notify_all();
            watchLine(now);
        }
    }
}

// The machine's side of one turn, under the mutex: the hang-up fault, the
// cable back in, and the next replies the line can take.
SimulatedMachine::Runner::Step SimulatedMachine::Runner::advance(Clock::time_point now) {
    std::unique_lock lock(mutex);
    if (stopping) {
        return Step::Stop;
    }
    if (!hangUpAt && written == outgoing.size() && model.wantsHangUp()) {
        hangUpAt = now + kHangUpDrain;
    }
    if (!hungUp && (hangUpRequested || (hangUpAt && now >= *hangUpAt))) {
        pty.hangUp();
        hungUp = true;
        note(LogLevel::Normal, "hung up after " + std::to_string(model.dotsReported()) + " dots");
        changed.notify_all();
    }
    if (hungUp) {
        changed.wait(lock, [this] { return stopping || plugInRequested; });
        if (stopping) {
            return Step::Stop;
        }
        plugBackIn();
        changed.notify_all();
        return Step::Again;
    }
    if (written == outgoing.size()) {
        outgoing.clear();
        written = 0;
        if (lineResting) {
            pace.rest(now);
        }
        model.produce(sinceStart(now), pace.allowance(now), outgoing);
        lineResting = outgoing.empty() && !model.hasOutput(sinceStart(now));
    }
    return Step::Watch;
}

// The line's side of one turn: waits for the console, the line's pace or a
// wake-up, then reads and writes what it may.
void SimulatedMachine::Runner::watchLine(Clock::time_point now) {
    // The console's bytes come in no faster than the line carries them: an
    // upload takes its real time.
    inPace.capCredit(now, kInBurst);
    const std::size_t readable = inPace.allowance(now);
    std::array<pollfd, 2> fds{pollfd{wake, POLLIN, 0}, pollfd{pty.master(), 0, 0}};
    fds[1].events =
        static_cast<short>((readable > 0 ? POLLIN : 0) | (written < outgoing.size() ? POLLOUT : 0));
    int timeout = pollTimeout(now);
    if (readable == 0) {
        timeout = timeout < 0 ? inPace.waitMs(now) : std::min(timeout, inPace.waitMs(now));
    }
    if (::poll(fds.data(), peerOpen ? 2 : 1, peerOpen ? timeout : kNoPeerPollMs) < 0 &&
        errno != EINTR) {
        // A line that cannot be watched is as good as unplugged.
        std::lock_guard lock(mutex);
        hangUpRequested = true;
        return;
    }
    if (fds[0].revents & POLLIN) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wake, &count, sizeof count);
    }
    if (!peerOpen) {
        lookForPeer();
    } else {
        serveLine(fds[1].revents, readable);
    }
}

// Nobody had the port open: has the console opened it now?
void SimulatedMachine::Runner::lookForPeer() {
    pollfd master{pty.master(), POLLIN, 0};
    ::poll(&master, 1, 0);
    if (master.revents & POLLHUP) {
        dropLine();
        return;
    }
    peerOpen = true;
    std::lock_guard lock(mutex);
    note(LogLevel::Normal, "the console opened the port");
}

void SimulatedMachine::Runner::serveLine(short events, std::size_t readable) {
    if (events & (POLLIN | POLLHUP | POLLERR)) {
        if (!readFromConsole(readable)) {
            peerOpen = false;
            std::lock_guard lock(mutex);
            note(LogLevel::Normal, "the console closed the port");
            return;
        }
    }
    if (events & POLLOUT) {
        writeToConsole();
    }
}

// Called with the mutex held.
void SimulatedMachine::Runner::plugBackIn() {
    plugInRequested = false;
    try {
        pluggedBackIn = pty.plugIn();
    } catch (const std::runtime_error&) {
        pluggedBackIn = false;
    }
    if (!pluggedBackIn) {
        note(LogLevel::Normal, "COM" + std::to_string(pty.port()) + " was taken meanwhile");
        return;
    }
    hungUp = false;
    hangUpRequested = false;
    hangUpAt.reset();
    peerOpen = false;
    outgoing.clear();
    written = 0;
    model.disarmHangUp();
    note(LogLevel::Normal, "plugged in again as " + pty.linkPath().string());
}

// False when the console's side is closed.
bool SimulatedMachine::Runner::readFromConsole(std::size_t most) {
    std::array<std::uint8_t, 4096> buffer{};
    // With nothing allowed, a read of one byte still tells a closed line.
    const ssize_t n =
        ::read(pty.master(), buffer.data(), std::clamp<std::size_t>(most, 1, buffer.size()));
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return true;
    }
    if (n <= 0) {
        return false;
    }
    inPace.spent(static_cast<std::size_t>(n));
    const Millis at = sinceStart(Clock::now());
    std::lock_guard lock(mutex);
    for (ssize_t i = 0; i < n; ++i) {
        receivedBytes.push_back(buffer[static_cast<std::size_t>(i)]);
        model.receive(buffer[static_cast<std::size_t>(i)], at);
    }
    changed.notify_all();
    return true;
}

void SimulatedMachine::Runner::writeToConsole() {
    const ssize_t n = ::write(pty.master(), outgoing.data() + written, outgoing.size() - written);
    if (n > 0) {
        written += static_cast<std::size_t>(n);
        pace.spent(static_cast<std::size_t>(n));
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
        peerOpen = false;
        dropLine();
    }
}

// The machine goes on with its job with nobody listening, as with the cable
// out; what it says meanwhile is lost.
void SimulatedMachine::Runner::dropLine() {
    pace.spent(outgoing.size() - written);
    written = outgoing.size();
}

int SimulatedMachine::Runner::pollTimeout(Clock::time_point now) {
    std::lock_guard lock(mutex);
    if (written < outgoing.size()) {
        return -1; // POLLOUT wakes the thread
    }
    if (hangUpRequested) {
        return 0;
    }
    if (hangUpAt) {
        const auto left = std::chrono::ceil<Millis>(*hangUpAt - now).count();
        return static_cast<int>(std::max<long long>(0, left));
    }
    if (model.hasOutput(sinceStart(now))) {
        return pace.waitMs(now);
    }
    if (const auto due = model.nextDue()) {
        return static_cast<int>(std::max<long long>(0, (*due - sinceStart(now)).count()));
    }
    return -1;
}

} // namespace vexilon::sim
