// Feeds arbitrary console bytes, with arbitrary pauses between them, to the
// simulated machine's command reader and to the whole machine. A command
// carries its parameter in range, an image block is whole and starts with
// "BM", and everything the machine answers is a byte the console knows.
//
// Input: pairs of bytes, the byte sent and the milliseconds before it.

#include "link/protocol/command_bytes.h"
#include "sim/machine/command_reader.h"
#include "sim/machine/machine_model.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using vexilon::sim::Command;
using vexilon::sim::Millis;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkCommand(const Command& command) {
    switch (command.kind) {
    case Command::Kind::BurningTime:
        require(command.parameter >= 1 && command.parameter <= 240);
        break;
    case Command::Kind::ImageData:
        require(command.image.size() ==
                static_cast<std::size_t>(vexilon::protocol::kImageDataSize));
        require(command.image[0] == 'B' && command.image[1] == 'M');
        break;
    case Command::Kind::Jog:
    case Command::Kind::ReverseMotor:
    case Command::Kind::StepPause:
    case Command::Kind::Unknown:
        require(command.parameter >= 0 && command.parameter <= 255);
        break;
    default:
        break;
    }
}

bool knownReply(std::uint8_t byte) {
    using namespace vexilon::protocol;
    return byte <= kLargestDigit || byte == kVerifyOk || byte == kCarvingStopped ||
           byte == kVersionReport || byte == kPositionReportStart;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vexilon::sim::CommandReader reader;
    vexilon::sim::MachineModel machine({}, true);
    Millis now{0};
    std::vector<std::uint8_t> replies;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        now += Millis(data[i + 1] * 8);
        for (const Command& command : reader.feed(data[i], now)) {
            checkCommand(command);
        }
        machine.receive(data[i], now);
        replies.clear();
        machine.produce(now, 64, replies);
        for (std::uint8_t byte : replies) {
            require(knownReply(byte));
        }
    }
    return 0;
}
