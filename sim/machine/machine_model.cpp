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

} // namespace

MachineModel::MachineModel(Faults faults, bool versionReport, LogSink log)
    : faults_(faults), versionReport_(versionReport), log_(std::move(log)) {}

void MachineModel::receive(std::uint8_t byte, Millis now) {
    for (const Command& command : reader_.feed(byte, now)) {
        act(command, now);
    }
}

void MachineModel::answerVerify() {
    replies_.push_back(protocol::kVerifyOk);
    if (versionReport_) {
        replies_.push_back(protocol::kVersionReport);
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
    while (budget > 0 && (!sending_.empty() || queueNext(now))) {
        out.push_back(sending_.front());
        sending_.pop_front();
        --budget;
    }
}

// Puts what the machine says next on the line: a late answer that fell due,
// a waiting reply, else the next dot's report (or, past the last dot, the
// carving stopped it makes). False when it has nothing to say.
bool MachineModel::queueNext(Millis now) {
    while (!lateReplies_.empty() && lateReplies_.front() <= now) {
        lateReplies_.erase(lateReplies_.begin());
        log(LogLevel::Normal, "verify OK, late");
        answerVerify();
    }
    if (replies_.empty() && job_ == JobState::Carving && !wantsHangUp()) {
        int x = 0;
        int y = 0;
        if (nextDot(x, y)) {
            burnAndReport(x, y);
            return true;
        }
        stopJob(JobState::Finished);
    }
    if (replies_.empty()) {
        return false;
    }
    sending_.push_back(replies_.front());
    replies_.pop_front();
    return true;
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
