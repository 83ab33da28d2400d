#include "sim/port/simulated_machine.h"

#include "sim/port/machine_runner.h"

namespace vexilon::sim {

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

void SimulatedMachine::layFreshPiece() {
    std::lock_guard lock(runner_->mutex);
    runner_->model.layFreshPiece();
}

void SimulatedMachine::forget() {
    std::lock_guard lock(runner_->mutex);
    std::vector<std::uint8_t>().swap(runner_->receivedBytes);
    std::vector<std::string>().swap(runner_->lines);
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
