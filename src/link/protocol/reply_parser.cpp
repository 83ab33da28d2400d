#include "link/protocol/reply_parser.h"

#include "link/protocol/command_bytes.h"

namespace vexilon::protocol {
namespace {

constexpr std::int32_t kLastDot = 511;

} // namespace

ReplyActions ReplyParser::feed(std::uint8_t byte) {
    ReplyActions actions;
    if (byte == kPositionReportStart) {
        digitCount_ = 0;
    }
    if (byte <= kLargestDigit) {
        // A fifth digit with no 255 since the fourth has no place in the
        // buffer; dropping it keeps the last dot shown until the next report.
        if (digitCount_ == static_cast<int>(buffer_.size())) {
            return actions;
        }
        buffer_[static_cast<std::size_t>(digitCount_)] = byte;
        ++digitCount_;
    }
    actions.verifyOk = byte == kVerifyOk;
    actions.carvingStopped = byte == kCarvingStopped;
    actions.versionReport = byte == kVersionReport;
    if (digitCount_ == static_cast<int>(buffer_.size())) {
        const Position dot{buffer_[0] * 100 + buffer_[1], buffer_[2] * 100 + buffer_[3]};
        // Off the work piece: a report whose start byte was lost, glued to
        // the next one. Painting or counting it would show a dot never burnt.
        if (dot.x <= kLastDot && dot.y <= kLastDot) {
            lastPosition_ = dot;
            actions.position = dot;
        }
    }
    return actions;
}

} // namespace vexilon::protocol
