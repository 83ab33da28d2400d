#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexilon {

// How far a job has come: the distinct dots the machine reported, against
// the black dots of the image that was uploaded. The machine may report a
// dot more than once (a repaint, a 15-row skip back), so dots are counted
// once each.
class DotProgress {
public:
    // A new image went to the machine: `total` dots to burn, none burnt yet.
    void setTotal(std::int64_t total);
    // Counting begins again for the same image (Restart, Recarve).
    void restart();
    // Counts a reported dot; false when it was counted before or lies off
    // the work area.
    bool add(int x, int y);

    std::int64_t done() const { return done_; }
    std::int64_t total() const { return total_; }
    // 0..1; a job with nothing to burn counts as finished.
    double fraction() const;
    // From the rate so far; none before the first dot and the first second.
    std::optional<std::int64_t> secondsLeft(std::int64_t elapsedSeconds) const;

private:
    std::vector<bool> seen_ = std::vector<bool>(512 * 512);
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
};

// "12,345 of 67,890 dots (18%), about 14 min left"; the time is left out
// while it cannot be told.
std::string progressText(std::int64_t done, std::int64_t total,
                         std::optional<std::int64_t> secondsLeft);

// "67,890" for 67890.
std::string groupedNumber(std::int64_t value);

} // namespace vexilon
