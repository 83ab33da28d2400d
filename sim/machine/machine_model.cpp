#include "sim/machine/machine_model.h"

#include <algorithm>

#include "link/protocol/command_bytes.h"

namespace vexilon::sim {
namespace protocol = vexilon::protocol;

namespace {

// Bytes that mean nothing to the console: neither digits nor replies.
std::uint8_t noiseByte(int index) {
    static constexpr int kFirst = 103;
    static constexpr int kCount = 254 - kFirst; // 103..254 without 110
    int value = kFirst + index % kCount;
    if (value >= protocol::kVersionReport) {
        ++value;
    }
    return static_cast<std::uint8_t>(value);
}

std::string jogName(int direction) {
    switch (direction) {
    case protocol::kJogUp:
        return "up";
    case protocol::kJogDown:
        return "down";
    case protocol::kJogLeft:
        return "left";
    case protocol::kJogRight:
        return "right";
    default:
        return "unknown direction " + std::to_string(direction);
    }
}

} // namespace

MachineModel::MachineModel(Faults faults, bool versionReport, LogSink log)
    : faults_(faults), versionReport_(versionReport), log_(std::move(log)) {}

void MachineModel::receive(std::uint8_t byte, Millis now) {
    for (const Command& command : reader_.feed(byte, now)) {
        act(command, now);
    }
}

void MachineModel::act(const Command& command, Millis now) {
    using Kind = Command::Kind;
    const std::string parameter = std::to_string(command.parameter);
    switch (command.kind) {
    case Kind::VerifyRequest:
        if (faults_.neverAnswerVerify) {
            log(LogLevel::Normal, "verify request: left unanswered");
        } else if (faults_.lateVerify) {
            log(LogLevel::Normal, "verify request: answering late");
            lateReplies_.push_back(now + kLateVerifyDelay);
        } else {
            log(LogLevel::Normal, "verify request: verify OK");
            replies_.push_back(protocol::kVerifyOk);
            if (versionReport_) {
                replies_.push_back(protocol::kVersionReport);
            }
        }
        return;
    case Kind::EraseImage:
        log(LogLevel::Normal, "erase image: waiting for the image data");
        if (job_ == JobState::Carving || job_ == JobState::Paused) {
            stopJob(JobState::NoImage);
        }
        image_.reset();
        job_ = JobState::NoImage;
        return;
    case Kind::ImageData:
        image_ = DotImage::fromImageData(command.image);
        if (!image_) {
            log(LogLevel::Normal, "image data: not a 512 x 512 1-bit image, dropped");
            return;
        }
        job_ = JobState::Ready;
        row_ = 0;
        column_ = 0;
        log(LogLevel::Normal,
            "image data: " + std::to_string(image_->dotCount()) + " dots to burn");
        return;
    case Kind::ImageAbandoned:
        log(LogLevel::Normal, "image data: stopped after " + parameter + " bytes, dropped");
        return;
    case Kind::StartCarving:
        if (job_ == JobState::Carving) {
            log(LogLevel::Normal, "start carving: already carving");
        } else if (job_ == JobState::Paused) {
            log(LogLevel::Normal, "start carving: resuming at row " + std::to_string(row_));
            job_ = JobState::Carving;
        } else if (!image_) {
            // Nothing to carve: the job is over at once, so the console's
            // clock does not run on for ever.
            log(LogLevel::Normal, "start carving: no image");
            replies_.push_back(protocol::kCarvingStopped);
        } else {
            log(LogLevel::Normal, "start carving");
            startFromTop();
        }
        return;
    case Kind::Pause:
        if (job_ == JobState::Carving) {
            job_ = JobState::Paused;
            log(LogLevel::Normal, "pause: at row " + std::to_string(row_));
        } else {
            log(LogLevel::Normal, "pause: not carving");
        }
        return;
    case Kind::Restart:
        log(LogLevel::Normal, "restart: job back to the top, head to the origin");
        if (image_) {
            job_ = JobState::Ready;
        }
        row_ = 0;
        column_ = 0;
        head_ = {};
        return;
    case Kind::Recarve:
        if (!image_) {
            log(LogLevel::Normal, "recarve: no image");
            replies_.push_back(protocol::kCarvingStopped);
            return;
        }
        log(LogLevel::Normal, "recarve: carving again from the top");
        startFromTop();
        return;
    case Kind::FastForward:
        log(LogLevel::Normal, "fast forward 15 rows");
        skipRows(kSkipRows);
        return;
    case Kind::FastBackward:
        log(LogLevel::Normal, "fast backward 15 rows");
        skipRows(-kSkipRows);
        return;
    case Kind::Jog: {
        int dx = 0;
        int dy = 0;
        switch (command.parameter) {
        case protocol::kJogUp:
            dy = -1;
            break;
        case protocol::kJogDown:
            dy = 1;
            break;
        case protocol::kJogLeft:
            dx = -1;
            break;
        case protocol::kJogRight:
            dx = 1;
            break;
        default:
            break;
        }
        // A reversed motor drives its axis the other way.
        dx = reversedX_ ? -dx : dx;
        dy = reversedY_ ? -dy : dy;
        head_.x = std::clamp(head_.x + dx * kJogStep, 0, WorkPiece::kSide - 1);
        head_.y = std::clamp(head_.y + dy * kJogStep, 0, WorkPiece::kSide - 1);
        log(LogLevel::Normal, "jog " + jogName(command.parameter) + ": head at " +
                                  std::to_string(head_.x) + ", " + std::to_string(head_.y));
        return;
    }
    case Kind::ToOrigin:
        head_ = {};
        log(LogLevel::Normal, "to origin");
        return;
    case Kind::ToMiddle:
        head_ = {WorkPiece::kSide / 2, WorkPiece::kSide / 2};
        log(LogLevel::Normal, "to middle of image");
        return;
    case Kind::CarvingArea: {
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
        log(LogLevel::Normal, "carving area: traced " + std::to_string(left) + ", " +
                                  std::to_string(top) + " to " + std::to_string(right) + ", " +
                                  std::to_string(bottom));
        return;
    }
    case Kind::ReverseMotor:
        if (command.parameter == protocol::kMotorAxisX) {
            reversedX_ = !reversedX_;
            log(LogLevel::Normal,
                std::string("reverse motor X: ") + (reversedX_ ? "reversed" : "normal"));
        } else if (command.parameter == protocol::kMotorAxisY) {
            reversedY_ = !reversedY_;
            log(LogLevel::Normal,
                std::string("reverse motor Y: ") + (reversedY_ ? "reversed" : "normal"));
        } else {
            log(LogLevel::Normal, "reverse motor: unknown axis " + parameter);
        }
        return;
    case Kind::StepPause:
        stepPause_ = command.parameter;
        log(LogLevel::Normal, "motor step pause " + parameter);
        return;
    case Kind::BurningTime:
        burningTime_ = command.parameter;
        log(LogLevel::Normal, "burning time " + parameter);
        return;
    case Kind::ShortErase:
        log(LogLevel::Normal, "erase image: only " + parameter + " of 8 bytes, ignored");
        return;
    case Kind::Unknown:
        log(LogLevel::Normal, "unknown byte " + parameter + ", ignored");
        return;
    }
}

void MachineModel::carve(const DotImage& image) {
    if (job_ == JobState::Carving || job_ == JobState::Paused) {
        stopJob(JobState::Ready);
    }
    image_ = image;
    log(LogLevel::Normal, "image loaded: " + std::to_string(image.dotCount()) + " dots to burn");
    startFromTop();
}

void MachineModel::startFromTop() {
    row_ = 0;
    column_ = 0;
    job_ = JobState::Carving;
}

void MachineModel::skipRows(int rows) {
    if (job_ != JobState::Carving && job_ != JobState::Paused) {
        log(LogLevel::Normal, "  not carving, ignored");
        return;
    }
    row_ = std::max(0, row_ + rows);
    column_ = 0;
    if (row_ >= DotImage::kSide) {
        stopJob(JobState::Finished);
    }
}

void MachineModel::stopJob(JobState next) {
    job_ = next;
    replies_.push_back(protocol::kCarvingStopped);
    log(LogLevel::Normal, "carving stopped");
}

bool MachineModel::nextDot(int& x, int& y) {
    for (; row_ < DotImage::kSide; ++row_, column_ = 0) {
        for (; column_ < DotImage::kSide; ++column_) {
            if (image_->dot(column_, row_)) {
                x = column_++;
                y = row_;
                return true;
            }
        }
    }
    return false;
}

void MachineModel::burnAndReport(int x, int y) {
    // The head burns where the motors take it; a reversed motor mirrors that
    // axis on the piece, while the report names the dot of the image.
    workPiece_.burn(reversedX_ ? WorkPiece::kSide - 1 - x : x,
                    reversedY_ ? WorkPiece::kSide - 1 - y : y, burningTime_);
    ++dotsReported_;
    for (int value : {int{protocol::kPositionReportStart}, x / 100, x % 100, y / 100, y % 100}) {
        sending_.push_back(static_cast<std::uint8_t>(value));
    }
    if (faults_.noiseEvery > 0 && dotsReported_ % faults_.noiseEvery == 0) {
        sending_.push_back(noiseByte(noiseIndex_++));
    }
    if (log_) {
        log(LogLevel::Verbose, "dot " + std::to_string(x) + ", " + std::to_string(y));
    }
}

void MachineModel::produce(Millis now, std::size_t budget, std::vector<std::uint8_t>& out) {
    while (budget > 0) {
        if (sending_.empty()) {
            while (!lateReplies_.empty() && lateReplies_.front() <= now) {
                lateReplies_.erase(lateReplies_.begin());
                log(LogLevel::Normal, "verify OK, late");
                replies_.push_back(protocol::kVerifyOk);
                if (versionReport_) {
                    replies_.push_back(protocol::kVersionReport);
                }
            }
            if (!replies_.empty()) {
                sending_.push_back(replies_.front());
                replies_.pop_front();
            } else if (job_ == JobState::Carving && !wantsHangUp()) {
                int x = 0;
                int y = 0;
                if (nextDot(x, y)) {
                    burnAndReport(x, y);
                } else {
                    stopJob(JobState::Finished);
                    continue;
                }
            } else {
                return;
            }
        }
        out.push_back(sending_.front());
        sending_.pop_front();
        --budget;
    }
}

bool MachineModel::hasOutput(Millis now) const {
    if (!sending_.empty() || !replies_.empty()) {
        return true;
    }
    if (!lateReplies_.empty() && lateReplies_.front() <= now) {
        return true;
    }
    return job_ == JobState::Carving && !wantsHangUp();
}

std::optional<Millis> MachineModel::nextDue() const {
    if (lateReplies_.empty()) {
        return std::nullopt;
    }
    return lateReplies_.front();
}

bool MachineModel::wantsHangUp() const {
    return faults_.hangUpAfterDots > 0 && dotsReported_ >= faults_.hangUpAfterDots &&
           sending_.empty();
}

void MachineModel::log(LogLevel level, const std::string& line) const {
    if (log_) {
        log_(level, line);
    }
}

} // namespace vexilon::sim
