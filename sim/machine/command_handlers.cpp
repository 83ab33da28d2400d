#include "sim/machine/machine_model.h"

#include "link/protocol/command_bytes.h"

#include <algorithm>
#include <array>

namespace vexilon::sim {
namespace protocol = vexilon::protocol;

namespace {

struct JogMove {
    int direction;
    const char* name;
    int dx;
    int dy;
};

constexpr std::array<JogMove, 4> kJogMoves = {{
    {protocol::kJogUp, "up", 0, -1},
    {protocol::kJogDown, "down", 0, 1},
    {protocol::kJogLeft, "left", -1, 0},
    {protocol::kJogRight, "right", 1, 0},
}};

JogMove jogMove(int direction) {
    for (const JogMove& move : kJogMoves) {
        if (move.direction == direction) {
            return move;
        }
    }
    // An unknown direction moves nothing, and the log says which it was.
    return {direction, nullptr, 0, 0};
}

// The handlers as a table, one for every kind of command: a kind without
// its handler does not compile.
template <class... Handlers> constexpr auto everyKind(Handlers... handlers) {
    static_assert(sizeof...(Handlers) == kCommandKinds, "every kind of command has its handler");
    return std::array{handlers...};
}

std::string number(int value) {
    return std::to_string(value);
}

} // namespace

void MachineModel::act(const Command& command, Millis now) {
    // One handler a command, in the order of Command::Kind.
    static constexpr auto kHandlers = everyKind(
        &MachineModel::onBurningTime, &MachineModel::onStartCarving, &MachineModel::onPause,
        &MachineModel::onToOrigin, &MachineModel::onCarvingArea, &MachineModel::onJog,
        &MachineModel::onVerify, &MachineModel::onReverseMotor, &MachineModel::onRestart,
        &MachineModel::onStepPause, &MachineModel::onToMiddle, &MachineModel::onRecarve,
        &MachineModel::onFastBackward, &MachineModel::onFastForward, &MachineModel::onEraseImage,
        &MachineModel::onImageData, &MachineModel::onImageAbandoned, &MachineModel::onUnknown,
        &MachineModel::onShortErase);
    (this->*kHandlers[static_cast<std::size_t>(command.kind)])(command, now);
}

void MachineModel::onVerify(const Command&, Millis now) {
    if (faults_.neverAnswerVerify) {
        log(LogLevel::Normal, "verify request: left unanswered");
    } else if (faults_.lateVerify) {
        log(LogLevel::Normal, "verify request: answering late");
        lateReplies_.push_back(now + kLateVerifyDelay);
    } else {
        log(LogLevel::Normal, "verify request: verify OK");
        answerVerify();
    }
}

void MachineModel::onEraseImage(const Command&, Millis) {
    log(LogLevel::Normal, "erase image: waiting for the image data");
    if (job_ == JobState::Carving || job_ == JobState::Paused) {
        stopJob(JobState::NoImage);
    }
    image_.reset();
    job_ = JobState::NoImage;
}

void MachineModel::onImageData(const Command& command, Millis) {
    image_ = DotImage::fromImageData(command.image);
    if (!image_) {
        log(LogLevel::Normal, "image data: not a 512 x 512 1-bit image, dropped");
        return;
    }
    job_ = JobState::Ready;
    row_ = 0;
    column_ = 0;
    log(LogLevel::Normal, "image data: " + number(image_->dotCount()) + " dots to burn");
}

void MachineModel::onImageAbandoned(const Command& command, Millis) {
    log(LogLevel::Normal,
        "image data: stopped after " + number(command.parameter) + " bytes, dropped");
}

void MachineModel::onStartCarving(const Command&, Millis) {
    if (job_ == JobState::Carving) {
        log(LogLevel::Normal, "start carving: already carving");
    } else if (job_ == JobState::Paused) {
        log(LogLevel::Normal, "start carving: resuming at row " + number(row_));
        job_ = JobState::Carving;
    } else if (!image_) {
        // Nothing to carve: the job is over at once, so the console's clock
        // does not run on for ever.
        log(LogLevel::Normal, "start carving: no image");
        replies_.push_back(protocol::kCarvingStopped);
    } else {
        log(LogLevel::Normal, "start carving");
        startFromTop();
    }
}

void MachineModel::onPause(const Command&, Millis) {
    if (job_ == JobState::Carving) {
        job_ = JobState::Paused;
        log(LogLevel::Normal, "pause: at row " + number(row_));
    } else {
        log(LogLevel::Normal, "pause: not carving");
    }
}

void MachineModel::onRestart(const Command&, Millis) {
    log(LogLevel::Normal, "restart: job back to the top, head to the origin");
    if (image_) {
        job_ = JobState::Ready;
    }
    row_ = 0;
    column_ = 0;
    head_ = {};
}

void MachineModel::onRecarve(const Command&, Millis) {
    if (!image_) {
        log(LogLevel::Normal, "recarve: no image");
        replies_.push_back(protocol::kCarvingStopped);
        return;
    }
    log(LogLevel::Normal, "recarve: carving again from the top");
    startFromTop();
}

void MachineModel::onFastForward(const Command&, Millis) {
    log(LogLevel::Normal, "fast forward 15 rows");
    skipRows(kSkipRows);
}

void MachineModel::onFastBackward(const Command&, Millis) {
    log(LogLevel::Normal, "fast backward 15 rows");
    skipRows(-kSkipRows);
}

void MachineModel::onJog(const Command& command, Millis) {
    const JogMove move = jogMove(command.parameter);
    // A reversed motor drives its axis the other way.
    const int dx = reversedX_ ? -move.dx : move.dx;
    const int dy = reversedY_ ? -move.dy : move.dy;
    head_.x = std::clamp(head_.x + dx * kJogStep, 0, WorkPiece::kSide - 1);
    head_.y = std::clamp(head_.y + dy * kJogStep, 0, WorkPiece::kSide - 1);
    const std::string name =
        move.name ? move.name : "unknown direction " + number(command.parameter);
    log(LogLevel::Normal, "jog " + name + ": head at " + number(head_.x) + ", " + number(head_.y));
}

void MachineModel::onToOrigin(const Command&, Millis) {
    head_ = {};
    log(LogLevel::Normal, "to origin");
}

void MachineModel::onToMiddle(const Command&, Millis) {
    head_ = {WorkPiece::kSide / 2, WorkPiece::kSide / 2};
    log(LogLevel::Normal, "to middle of image");
}

void MachineModel::onCarvingArea(const Command&, Millis) {
    if (!image_ || image_->dotCount() == 0) {
        log(LogLevel::Normal, "carving area: no dots to trace");
        return;
    }
    int left = WorkPiece::kSide, top = WorkPiece::kSide, right = -1, bottom = -1;
    for (int y = 0; y < DotImage::kSide; ++y) {
        for (int x = 0; x < DotImage::kSide; ++x) {
            if (image_->dot(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    log(LogLevel::Normal, "carving area: traced " + number(left) + ", " + number(top) + " to " +
                              number(right) + ", " + number(bottom));
}

void MachineModel::onReverseMotor(const Command& command, Millis) {
    if (command.parameter == protocol::kMotorAxisX) {
        reversedX_ = !reversedX_;
        log(LogLevel::Normal,
            std::string("reverse motor X: ") + (reversedX_ ? "reversed" : "normal"));
    } else if (command.parameter == protocol::kMotorAxisY) {
        reversedY_ = !reversedY_;
        log(LogLevel::Normal,
            std::string("reverse motor Y: ") + (reversedY_ ? "reversed" : "normal"));
    } else {
        log(LogLevel::Normal, "reverse motor: unknown axis " + number(command.parameter));
    }
}

void MachineModel::onStepPause(const Command& command, Millis) {
    stepPause_ = command.parameter;
    log(LogLevel::Normal, "motor step pause " + number(command.parameter));
}

void MachineModel::onBurningTime(const Command& command, Millis) {
    burningTime_ = command.parameter;
    log(LogLevel::Normal, "burning time " + number(command.parameter));
}

void MachineModel::onShortErase(const Command& command, Millis) {
    log(LogLevel::Normal,
        "erase image: only " + number(command.parameter) + " of 8 bytes, ignored");
}

void MachineModel::onUnknown(const Command& command, Millis) {
    log(LogLevel::Normal, "unknown byte " + number(command.parameter) + ", ignored");
}

} // namespace vexilon::sim
