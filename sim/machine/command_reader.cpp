#include "sim/machine/command_reader.h"

#include "link/protocol/command_bytes.h"

#include <array>
#include <optional>

namespace vexilon::sim {
namespace protocol = vexilon::protocol;

namespace {

using Kind = Command::Kind;

struct SingleByte {
    std::uint8_t byte;
    Kind kind;
};

// The commands that are one byte long.
constexpr std::array<SingleByte, 7> kSingleBytes = {{
    {protocol::kStartCarving, Kind::StartCarving},
    {protocol::kPause, Kind::Pause},
    {protocol::kToOrigin, Kind::ToOrigin},
    {protocol::kSimulateCarvingArea, Kind::CarvingArea},
    {protocol::kVerifyRequest, Kind::VerifyRequest},
    {protocol::kRestart, Kind::Restart},
    {protocol::kToMiddleOfImage, Kind::ToMiddle},
}};

std::optional<Kind> singleByteCommand(std::uint8_t byte) {
    for (const SingleByte& command : kSingleBytes) {
        if (command.byte == byte) {
            return command.kind;
        }
    }
    return std::nullopt;
}

// The second byte of 252: which of the three row commands.
Kind rowCommand(std::uint8_t byte) {
    switch (byte) {
    case protocol::kRecarve:
        return Kind::Recarve;
    case protocol::kFastBackward:
        return Kind::FastBackward;
    case protocol::kFastForward:
        return Kind::FastForward;
    default:
        return Kind::Unknown;
    }
}

} // namespace

std::vector<Command> CommandReader::feed(std::uint8_t byte, Millis now) {
    std::vector<Command> out;
    switch (state_) {
    case State::Command:
        command(byte, out);
        break;
    case State::JogDirection:
        finishTwoByte(Kind::Jog, byte, out);
        break;
    case State::MotorAxis:
        finishTwoByte(Kind::ReverseMotor, byte, out);
        break;
    case State::StepPause:
        finishTwoByte(Kind::StepPause, byte, out);
        break;
    case State::RowCommand: {
        const Kind kind = rowCommand(byte);
        finishTwoByte(kind, kind == Kind::Unknown ? byte : 0, out);
        break;
    }
    case State::ImageB:
    case State::ImageM:
    case State::ImageBody:
        image(byte, now, out);
        break;
    }
    return out;
}

void CommandReader::finishTwoByte(Kind kind, int parameter, std::vector<Command>& out) {
    state_ = State::Command;
    out.push_back({kind, parameter, {}});
}

// After erase image: the "BM" that opens the image data, then its body.
void CommandReader::image(std::uint8_t byte, Millis now, std::vector<Command>& out) {
    if (state_ == State::ImageB) {
        if (byte == 'B') {
            state_ = State::ImageM;
            lastImageByte_ = now;
        } else {
            state_ = State::Command;
            command(byte, out);
        }
    } else if (state_ == State::ImageM) {
        if (byte == 'M' && now - lastImageByte_ <= kImageStall) {
            state_ = State::ImageBody;
            image_.assign({'B', 'M'});
            lastImageByte_ = now;
        } else {
            // The "B" was a burning time after all.
            state_ = State::Command;
            command('B', out);
            command(byte, out);
        }
    } else {
        imageBody(byte, now, out);
    }
}

void CommandReader::imageBody(std::uint8_t byte, Millis now, std::vector<Command>& out) {
    if (now - lastImageByte_ > kImageStall) {
        out.push_back({Kind::ImageAbandoned, static_cast<int>(image_.size()), {}});
        image_.clear();
        state_ = State::Command;
        command(byte, out);
        return;
    }
    lastImageByte_ = now;
    image_.push_back(byte);
    if (image_.size() == static_cast<std::size_t>(protocol::kImageDataSize)) {
        out.push_back({Kind::ImageData, 0, std::move(image_)});
        image_.clear();
        state_ = State::Command;
    }
}

void CommandReader::command(std::uint8_t byte, std::vector<Command>& out) {
    if (byte == protocol::kEraseImage) {
        if (++eraseRun_ == protocol::kEraseImageRepeat) {
            eraseRun_ = 0;
            state_ = State::ImageB;
            out.push_back({Kind::EraseImage, 0, {}});
        }
        return;
    }
    if (eraseRun_ != 0) {
        out.push_back({Kind::ShortErase, eraseRun_, {}});
        eraseRun_ = 0;
    }
    if (const auto next = parameterState(byte)) {
        state_ = *next;
    } else if (const auto kind = singleByteCommand(byte)) {
        out.push_back({*kind, 0, {}});
    } else if (byte >= 1 && byte < protocol::kStartCarving) {
        out.push_back({Kind::BurningTime, byte, {}});
    } else {
        out.push_back({Kind::Unknown, byte, {}});
    }
}

// The commands whose second byte completes them.
std::optional<CommandReader::State> CommandReader::parameterState(std::uint8_t byte) {
    switch (byte) {
    case protocol::kJog:
        return State::JogDirection;
    case protocol::kReverseMotor:
        return State::MotorAxis;
    case protocol::kMotorStepPause:
        return State::StepPause;
    case protocol::kRowCommand:
        return State::RowCommand;
    default:
        return std::nullopt;
    }
}

} // namespace vexilon::sim
