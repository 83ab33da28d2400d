#include "link/serial/serial_line_errors.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace vexilon {

std::optional<LineErrorCounts> readLineErrorCounts(int fd) {
    serial_icounter_struct counts{};
    if (ioctl(fd, TIOCGICOUNT, &counts) != 0) {
        return std::nullopt;
    }
    return LineErrorCounts{counts.brk, counts.frame, counts.parity, counts.overrun,
                           counts.buf_overrun};
}

std::vector<int> lineEventsBetween(const LineErrorCounts& before, const LineErrorCounts& after) {
    // Compared for change, not for growth: the counters wrap.
    std::vector<int> events;
    if (after.breaks != before.breaks) {
        events.push_back(PortEventBreak);
    }
    if (after.frameErrors != before.frameErrors || after.parityErrors != before.parityErrors ||
        after.overruns != before.overruns || after.bufferOverruns != before.bufferOverruns) {
        events.push_back(PortEventLineError);
    }
    return events;
}

} // namespace vexilon
