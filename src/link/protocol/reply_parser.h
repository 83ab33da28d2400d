#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace vexilon::protocol {

// A dot the machine reported: X to the right, Y downward.
struct Position {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Position&, const Position&) = default;
};

// What one reply byte asks of the console, in the order it must be done.
struct ReplyActions {
    bool verifyOk = false;
    bool carvingStopped = false;
    bool versionReport = false;
    // Set whenever the dot must be painted and shown: on the fourth digit of
    // a report and on every later byte that is neither 255 nor a digit, as
    // long as the dot lies on the 512 x 512 work piece.
    std::optional<Position> position;
};

// Reads the machine's replies one byte at a time. It owns the digit count and
// the four-place position buffer; a 255 resets the count and nothing else
// does, so connecting and disconnecting leave it as it is.
class ReplyParser {
public:
    ReplyActions feed(std::uint8_t byte);

    // Digits received since the last 255, never more than four.
    int digitCount() const { return digitCount_; }
    const std::array<std::int32_t, 4>& buffer() const { return buffer_; }
    std::optional<Position> lastPosition() const { return lastPosition_; }

private:
    std::array<std::int32_t, 4> buffer_{};
    int digitCount_ = 0;
    std::optional<Position> lastPosition_;
};

} // namespace vexilon::protocol
