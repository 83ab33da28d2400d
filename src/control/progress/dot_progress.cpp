#include "control/progress/dot_progress.h"

#include <algorithm>
#include <cmath>

namespace vexilon {
namespace {

constexpr int kSide = 512;

std::string timeLeftText(std::int64_t seconds) {
    if (seconds < 60) {
        return "less than a minute left";
    }
    const std::int64_t minutes = (seconds + 30) / 60;
    if (minutes < 60) {
        return "about " + std::to_string(minutes) + " min left";
    }
    return "about " + std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) +
           " min left";
}

} // namespace

void DotProgress::setTotal(std::int64_t total) {
    total_ = std::max<std::int64_t>(total, 0);
    restart();
}

void DotProgress::restart() {
    std::fill(seen_.begin(), seen_.end(), false);
    done_ = 0;
}

bool DotProgress::add(int x, int y) {
    if (x < 0 || y < 0 || x >= kSide || y >= kSide) {
        return false;
    }
    const auto index = static_cast<std::size_t>(y) * kSide + static_cast<std::size_t>(x);
    if (seen_[index]) {
        return false;
    }
    seen_[index] = true;
    ++done_;
    return true;
}

double DotProgress::fraction() const {
    if (total_ <= 0) {
        return 1.0;
    }
    return std::min(1.0, static_cast<double>(done_) / static_cast<double>(total_));
}

std::optional<std::int64_t> DotProgress::secondsLeft(std::int64_t elapsedSeconds) const {
    if (done_ <= 0 || elapsedSeconds <= 0) {
        return std::nullopt;
    }
    const std::int64_t left = std::max<std::int64_t>(total_ - done_, 0);
    const double rate = static_cast<double>(done_) / static_cast<double>(elapsedSeconds);
    return static_cast<std::int64_t>(std::ceil(static_cast<double>(left) / rate));
}

std::string groupedNumber(std::int64_t value) {
    const std::string digits = std::to_string(value);
    const std::size_t sign = value < 0 ? 1 : 0;
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::size_t fromEnd = digits.size() - i;
        if (i > sign && fromEnd % 3 == 0) {
            out.push_back(',');
        }
        out.push_back(digits[i]);
    }
    return out;
}

std::string progressText(std::int64_t done, std::int64_t total,
                         std::optional<std::int64_t> secondsLeft) {
    const std::int64_t percent = total > 0 ? std::min<std::int64_t>(100, done * 100 / total) : 100;
    std::string text = groupedNumber(done) + " of " + groupedNumber(total) + " dots (" +
                       std::to_string(percent) + "%)";
    if (secondsLeft) {
        text += ", " + timeLeftText(*secondsLeft);
    }
    return text;
}

} // namespace vexilon
