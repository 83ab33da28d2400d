#pragma once

#include <optional>
#include <vector>

namespace vexilon {

// Codes of the port events the channel raises beside received bytes. Linux
// tells breaks and line errors cheaply through the driver's counters; modem
// line changes would need a blocking TIOCMIWAIT of their own, so the channel
// does not raise the other codes.
enum SerialPortEventCode : int {
    PortEventBreak = 1,
    PortEventCtsOn = 2,
    PortEventDsrOn = 3,
    PortEventLineError = 4,
    PortEventRing = 5,
    PortEventRlsdOn = 6,
    PortEventCharacter = 7,
    PortEventCtsOff = 8,
    PortEventDsrOff = 9,
    PortEventRlsdOff = 10,
};

// The driver's running counts of breaks and of overrun, parity and framing
// errors. They wrap around like the driver's ints.
struct LineErrorCounts {
    int breaks = 0;
    int frameErrors = 0;
    int parityErrors = 0;
    int overruns = 0;
    int bufferOverruns = 0;
};

// The counts of the serial port `fd`; none when the driver keeps none
// (pseudo-terminals, some USB adapters).
std::optional<LineErrorCounts> readLineErrorCounts(int fd);

// The port events that the change from `before` to `after` stands for: a break
// first, then one line error for any kind of error.
std::vector<int> lineEventsBetween(const LineErrorCounts& before, const LineErrorCounts& after);

} // namespace vexilon
