#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/machine/dot_image.h"
#include "sim/machine/machine_model.h"
#include "sim/machine/work_piece.h"

namespace vexilon::sim {

// How fast the machine talks: the real line (57,600 baud, ten bits a byte),
// the same line behind a USB adapter that delivers every 16 ms, or as fast
// as the pseudo-terminal takes the bytes.
enum class Pace { LineRate, Bursts, Fast };

struct Options {
    int port = 0; // COM number to take; 0 takes the first free one
    Pace pace = Pace::Fast;
    Faults faults;
    bool versionReport = false;          // follow verify OK with the version report
    LogLevel logLevel = LogLevel::Quiet; // what goes to standard error
};

// What a test may wait on.
struct Status {
    JobState job = JobState::NoImage;
    long long dotsReported = 0;
    bool hasImage = false;
    bool hungUp = false;
};

// The simulated engraving machine on a pseudo-terminal, run by a thread of
// its own: its port is linked as "<link directory>/COM<n>" until it is
// destroyed. Everything the console writes is kept for tests to read.
class SimulatedMachine {
public:
    explicit SimulatedMachine(const std::filesystem::path& linkDirectory, Options options = {});
    ~SimulatedMachine();
    SimulatedMachine(const SimulatedMachine&) = delete;
    SimulatedMachine& operator=(const SimulatedMachine&) = delete;

    int portNumber() const;
    const std::filesystem::path& linkPath() const;

    // Every byte the console sent, in order.
    std::vector<std::uint8_t> received() const;
    // True once at least `count` bytes came, false after `timeout` otherwise.
    bool waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;

    Status status() const;
    bool waitFor(const std::function<bool(const Status&)>& condition,
                 std::chrono::milliseconds timeout) const;

    // The machine's log lines so far (every level).
    std::vector<std::string> log() const;

    WorkPiece workPiece() const;
    // Puts a new, unburnt piece under the laser, so that each of many jobs
    // can be checked on its own piece.
    void layFreshPiece();
    // Lets go of the bytes received and the log lines kept so far, so that a
    // run of many jobs holds only the latest job's; received() starts afresh.
    void forget();
    bool writeWorkPiecePng(const std::filesystem::path& path) const;

    // Loads `image` and starts carving it without the console's upload.
    void carve(const DotImage& image);

    // Pulls the cable: the console's side sees a hang-up and the port's link
    // goes. Done when the call returns.
    void hangUp();
    // Puts the cable back: a new line at the same number, the machine as it
    // was. False when the number was taken meanwhile.
    bool plugIn();

private:
    struct Runner;
    std::unique_ptr<Runner> runner_;
};

} // namespace vexilon::sim
