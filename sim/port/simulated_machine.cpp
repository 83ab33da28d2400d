#include "sim/port/simulated_machine.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "sim/port/line_pace.h"
#include "sim/port/pty_link.h"

namespace vexilon::sim {
namespace {

using Clock = std::chrono::steady_clock;

// While nobody has the port open the master reports a hang-up on every poll;
// the thread then looks again this often instead of spinning.
constexpr int kNoPeerPollMs = 10;

// The hang-up fault lets the console read the last reports first, so that it
// has a job on its screen when the line drops.
constexpr auto kHangUpDrain = std::chrono::milliseconds(250);

// Bytes the machine may read at once after a quiet spell at the line rate.
constexpr std::size_t kInBurst = 64;

} // namespace

struct SimulatedMachine::Runner {
    Runner(const std::filesystem::path& linkDirectory, const Options& chosen)
        : options(chosen), pty(linkDirectory, chosen.port), pace(chosen.pace == Pace::LineRate),
          inPace(chosen.pace == Pace::LineRate),
          model(chosen.faults, chosen.versionReport,
                [this](LogLevel level, const std::string& line) { note(level, line); }) {
        wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake < 0) {
            throw std::runtime_error("cannot make an eventfd");
        }
        std::lock_guard lock(mutex);
        note(LogLevel::Normal,
             "COM" + std::to_string(pty.port()) + " is " + pty.linkPath().string());
    }

    ~Runner() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        poke();
        if (thread.joinable()) {
            thread.join();
        }
        ::close(wake);
    }

    // Called with the mutex held.
    void note(LogLevel level, const std::string& line) {
        if (level == LogLevel::Normal) {
            lines.push_back(line);
        }
        if (level != LogLevel::Quiet && level <= options.logLevel) {
            std::cerr << "vexilon-sim: " << line << '\n';
        }
    }

    void poke() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake, &one, sizeof one);
    }

    Millis sinceStart(Clock::time_point now) const {
        return std::chrono::duration_cast<Millis>(now - started);
    }

    void run();
    bool readFromConsole(std::size_t most);
    void writeToConsole();
    int pollTimeout(Clock::time_point now);
    void dropLine();
    void plugBackIn();

    Options options;
    PtyLink pty;
    LinePace pace;   // what the machine sends
    LinePace inPace; // what it reads
    MachineModel model;
    int wake = -1;
    Clock::time_point started = Clock::now();

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<std::uint8_t> receivedBytes;
    std::vector<std::string> lines;
    bool stopping = false;
    bool hangUpRequested = false;
    bool hungUp = false;
    bool plugInRequested = false;
    bool pluggedBackIn = false;

    // Only the thread touches these.
    std::vector<std::uint8_t> outgoing;
    std::size_t written = 0;
    bool peerOpen = false;
    bool lineResting = true;
    std::optional<Clock::time_point> hangUpAt;
    std::thread thread;
};

void SimulatedMachine::Runner::run() {
    for (;;) {
        const auto now = Clock::now();
        {
            std::unique_lock lock(mutex);
            if (stopping) {
                return;
            }
            if (!hangUpAt && written == outgoing.size() && model.wantsHangUp()) {
                hangUpAt = now + kHangUpDrain;
            }
            if (!hungUp && (hangUpRequested || (hangUpAt && now >= *hangUpAt))) {
                pty.hangUp();
                hungUp = true;
                note(LogLevel::Normal,
                     "hung up after " + std::to_string(model.dotsReported()) + " dots");
                changed.notify_all();
            }
            if (hungUp) {
                changed.wait(lock, [this] { return stopping || plugInRequested; });
                if (stopping) {
                    return;
                }
                plugBackIn();
                changed.notify_all();
                continue;
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
        }
        changed.notify_all();

        // The console's bytes come in no faster than the line carries them:
        // an upload takes its real time.
        inPace.capCredit(now, kInBurst);
        const std::size_t readable = inPace.allowance(now);
        std::array<pollfd, 2> fds{pollfd{wake, POLLIN, 0}, pollfd{pty.master(), 0, 0}};
        if (readable > 0) {
            fds[1].events |= POLLIN;
        }
        if (written < outgoing.size()) {
            fds[1].events |= POLLOUT;
        }
        int timeout = pollTimeout(now);
        if (readable == 0) {
            timeout = timeout < 0 ? inPace.waitMs(now) : std::min(timeout, inPace.waitMs(now));
        }
        if (::poll(fds.data(), peerOpen ? 2 : 1, peerOpen ? timeout : kNoPeerPollMs) < 0 &&
            errno != EINTR) {
            // A line that cannot be watched is as good as unplugged.
            std::lock_guard lock(mutex);
            hangUpRequested = true;
            continue;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wake, &count, sizeof count);
        }
        if (!peerOpen) {
            pollfd master{pty.master(), POLLIN, 0};
            ::poll(&master, 1, 0);
            if (master.revents & POLLHUP) {
                dropLine();
                continue;
            }
            peerOpen = true;
            std::lock_guard lock(mutex);
            note(LogLevel::Normal, "the console opened the port");
            continue;
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (!readFromConsole(readable)) {
                peerOpen = false;
                std::lock_guard lock(mutex);
                note(LogLevel::Normal, "the console closed the port");
                continue;
            }
        }
        if (fds[1].revents & POLLOUT) {
            writeToConsole();
        }
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

SimulatedMachine::SimulatedMachine(const std::filesystem::path& linkDirectory, Options options)
    : runner_(std::make_unique<Runner>(linkDirectory, options)) {
    runner_->thread = std::thread([runner = runner_.get()] { runner->run(); });
}

SimulatedMachine::~SimulatedMachine() = default;

int SimulatedMachine::portNumber() const {
    return runner_->pty.port();
}

const std::filesystem::path& SimulatedMachine::linkPath() const {
    return runner_->pty.linkPath();
}

std::vector<std::uint8_t> SimulatedMachine::received() const {
    std::lock_guard lock(runner_->mutex);
    return runner_->receivedBytes;
}

bool SimulatedMachine::waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(runner_->mutex);
    return runner_->changed.wait_for(lock, timeout,
                                     [&] { return runner_->receivedBytes.size() >= count; });
}

Status SimulatedMachine::status() const {
    std::lock_guard lock(runner_->mutex);
    const MachineModel& model = runner_->model;
    return {model.job(), model.dotsReported(), model.hasImage(), runner_->hungUp};
}

bool SimulatedMachine::waitFor(const std::function<bool(const Status&)>& condition,
                               std::chrono::milliseconds timeout) const {
    std::unique_lock lock(runner_->mutex);
    return runner_->changed.wait_for(lock, timeout, [&] {
        const MachineModel& model = runner_->model;
        return condition(
            Status{model.job(), model.dotsReported(), model.hasImage(), runner_->hungUp});
    });
}

std::vector<std::string> SimulatedMachine::log() const {
    std::lock_guard lock(runner_->mutex);
    return runner_->lines;
}

WorkPiece SimulatedMachine::workPiece() const {
    std::lock_guard lock(runner_->mutex);
    return runner_->model.workPiece();
}

bool SimulatedMachine::writeWorkPiecePng(const std::filesystem::path& path) const {
    return workPiece().writePng(path);
}

void SimulatedMachine::carve(const DotImage& image) {
    {
        std::lock_guard lock(runner_->mutex);
        runner_->model.carve(image);
    }
    runner_->poke();
}

bool SimulatedMachine::plugIn() {
    std::unique_lock lock(runner_->mutex);
    if (!runner_->hungUp) {
        return true;
    }
    runner_->plugInRequested = true;
    runner_->changed.notify_all();
    runner_->changed.wait(lock, [&] { return !runner_->plugInRequested || runner_->stopping; });
    return runner_->pluggedBackIn;
}

void SimulatedMachine::hangUp() {
    {
        std::lock_guard lock(runner_->mutex);
        runner_->hangUpRequested = true;
    }
    runner_->poke();
    std::unique_lock lock(runner_->mutex);
    runner_->changed.wait(lock, [&] { return runner_->hungUp || runner_->stopping; });
}

} // namespace vexilon::sim
