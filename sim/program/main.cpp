#include <chrono>
#include <csignal>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <system_error>

#include <pthread.h>

#include "sim/program/sim_options.h"

namespace {

namespace fs = std::filesystem;
using namespace vexilon::sim;
using Clock = std::chrono::steady_clock;

constexpr auto kPlugInAfter = std::chrono::seconds(3);

void writeWorkPiece(const SimulatedMachine& machine, const fs::path& path, bool quiet) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    if (!machine.writeWorkPiecePng(path)) {
        std::cerr << "vexilon-sim: cannot write the work piece to " << path.string() << '\n';
    } else if (!quiet) {
        std::cerr << "vexilon-sim: work piece written to " << path.string() << '\n';
    }
}

// The signals are taken by sigwait; blocked before the machine's thread
// starts, they never interrupt it.
sigset_t blockedSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) {
        sigaddset(&signals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

// Runs until a signal other than SIGUSR1 comes, or the port is lost. After
// the hang-up fault the cable goes back in a little later, so that the
// console can connect again.
void serve(SimulatedMachine& machine, const ProgramOptions& options, const sigset_t& signals) {
    const bool quiet = options.machine.logLevel == LogLevel::Quiet;
    std::optional<Clock::time_point> plugInAt;
    for (;;) {
        const timespec tick{0, 200'000'000};
        const int signal = sigtimedwait(&signals, nullptr, &tick);
        if (signal == SIGUSR1) {
            writeWorkPiece(machine, options.workPiecePng, quiet);
        } else if (signal > 0) {
            return;
        }
        if (!plugInAt && machine.status().hungUp) {
            plugInAt = Clock::now() + kPlugInAfter;
        } else if (plugInAt && Clock::now() >= *plugInAt) {
            plugInAt.reset();
            if (!machine.plugIn()) {
                std::cerr << "vexilon-sim: COM" << machine.portNumber()
                          << " was taken while the cable was out\n";
                return;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    ProgramOptions options = parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::cerr << "vexilon-sim: " << options.error << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << programHelp();
        return 0;
    }
    if (options.linkDirectory.empty()) {
        options.linkDirectory = consolePortDirectory();
    }
    if (options.workPiecePng.empty()) {
        options.workPiecePng = defaultWorkPiecePng();
    }
    const sigset_t signals = blockedSignals();
    try {
        SimulatedMachine machine(options.linkDirectory, options.machine);
        // The number on standard output, for scripts that start the machine.
        std::cout << "COM" << machine.portNumber() << std::endl;
        serve(machine, options, signals);
        writeWorkPiece(machine, options.workPiecePng, options.machine.logLevel == LogLevel::Quiet);
    } catch (const std::runtime_error& error) {
        std::cerr << "vexilon-sim: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
