#include "control/run_time_text.h"

namespace vexilon {

std::string runTimeText(std::int32_t elapsedSeconds) {
    // The counter only ever counts up from zero; a negative value would mean a
    // corrupted counter, and showing it as zero beats showing garbage.
    const std::int64_t total = elapsedSeconds < 0 ? 0 : elapsedSeconds;
    const std::int64_t minutes = total / 60;
    const std::int64_t seconds = total % 60;
    std::string text = minutes < 10 ? "Run time :  0" : "Run time :  ";
    text += std::to_string(minutes);
    text += seconds < 10 ? ":0" : ":";
    text += std::to_string(seconds);
    return text;
}

} // namespace vexilon
