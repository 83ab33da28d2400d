#include "sim/machine/command_reader.h"

#include "link/protocol/command_bytes.h"

namespace vexilon::sim {
namespace protocol = vexilon::protocol;

std::vector<Command> CommandReader::feed(std::uint8_t byte, Millis now) {
    std::vector<Command> out;
    switch (state_) {
    case State::Command:
        command(byte, out);
        break;
    case State::JogDirection:
        state_ = State::Command;
        out.push_back({Command::Kind::Jog, byte, {}});
        break;
    case State::MotorAxis:
        state_ = State::Command;
        out.push_back({Command::Kind::ReverseMotor, byte, {}});
        break;
    case State::StepPause:
        state_ = State::Command;
        out.push_back({Command::Kind::StepPause, byte, {}});
        break;
    case State::RowCommand:
        state_ = State::Command;
        if (byte == protocol::kRecarve) {
            out.push_back({Command::Kind::Recarve, 0, {}});
        } else if (byte == protocol::kFastBackward) {
            out.push_back({Command::Kind::FastBackward, 0, {}});
        } else if (byte == protocol::kFastForward) {
            out.push_back({Command::Kind::FastForward, 0, {}});
        } else {
            out.push_back({Command::Kind::Unknown, byte, {}});
        }
        break;
    case State::ImageB:
        if (byte == 'B') {
            state_ = State::ImageM;
            lastImageByte_ = now;
        } else {
            state_ = State::Command;
            command(byte, out);
        }
        break;
    case State::ImageM:
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
        break;
    case State::ImageBody:
        if (now - lastImageByte_ > kImageStall) {
            out.push_back({Command::Kind::ImageAbandoned, static_cast<int>(image_.size()), {}});
            image_.clear();
            state_ = State::Command;
            command(byte, out);
            break;
        }
        lastImageByte_ = now;
        image_.push_back(byte);
        if (image_.size() == static_cast<std::size_t>(protocol::kImageDataSize)) {
            out.push_back({Command::Kind::ImageData, 0, std::move(image_)});
            image_.clear();
            state_ = State::Command;
        }
        break;
    }
    return out;
}

void CommandReader::command(std::uint8_t byte, std::vector<Command>& out) {
    if (byte == protocol::kEraseImage) {
        if (++eraseRun_ == protocol::kEraseImageRepeat) {
            eraseRun_ = 0;
            state_ = State::ImageB;
            out.push_back({Command::Kind::EraseImage, 0, {}});
        }
        return;
    }
    if (eraseRun_ != 0) {
        out.push_back({Command::Kind::ShortErase, eraseRun_, {}});
        eraseRun_ = 0;
    }
    using Kind = Command::Kind;
    switch (byte) {
    case protocol::kStartCarving:
        out.push_back({Kind::StartCarving, 0, {}});
        return;
    case protocol::kPause:
        out.push_back({Kind::Pause, 0, {}});
        return;
    case protocol::kToOrigin:
        out.push_back({Kind::ToOrigin, 0, {}});
        return;
    case protocol::kSimulateCarvingArea:
        out.push_back({Kind::CarvingArea, 0, {}});
        return;
    case protocol::kJog:
        state_ = State::JogDirection;
        return;
    case protocol::kVerifyRequest:
        out.push_back({Kind::VerifyRequest, 0, {}});
        return;
    case protocol::kReverseMotor:
        state_ = State::MotorAxis;
        return;
    case protocol::kRestart:
        out.push_back({Kind::Restart, 0, {}});
        return;
    case protocol::kMotorStepPause:
        state_ = State::StepPause;
        return;
    case protocol::kToMiddleOfImage:
        out.push_back({Kind::ToMiddle, 0, {}});
        return;
    case protocol::kRowCommand:
        state_ = State::RowCommand;
        return;
    default:
        break;
    }
    if (byte >= 1 && byte < protocol::kStartCarving) {
        out.push_back({Kind::BurningTime, byte, {}});
    } else {
        out.push_back({Kind::Unknown, byte, {}});
    }
}

} // namespace vexilon::sim
