#pragma once

// The simulated machine's thread and what it shares with the owner: the
// model, the pseudo-terminal and the line's pace.

#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <sys/eventfd.h>
#include <unistd.h>

#include "sim/port/line_pace.h"
#include "sim/port/pty_link.h"
#include "sim/port/simulated_machine.h"

namespace vexilon::sim {

using Clock = std::chrono::steady_clock;

// How often a USB serial adapter hands on what it received.
constexpr std::chrono::milliseconds kUsbBurst{16};

struct SimulatedMachine::Runner {
    Runner(const std::filesystem::path& linkDirectory, const Options& chosen)
        : options(chosen), pty(linkDirectory, chosen.port),
          pace(chosen.pace != Pace::Fast,
               chosen.pace == Pace::Bursts ? kUsbBurst : std::chrono::milliseconds{}),
          inPace(chosen.pace != Pace::Fast),
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

    enum class Step { Stop, Again, Watch };

    void run();
    Step advance(Clock::time_point now);
    void watchLine(Clock::time_point now);
    void lookForPeer();
    void serveLine(short events, std::size_t readable);
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

} // namespace vexilon::sim
