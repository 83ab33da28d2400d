#pragma once

namespace vexilon {

// Why the last open of the serial channel failed, so that the console can say
// which it was.
enum class SerialOpenError {
    None,             // the last open succeeded (or none was tried)
    NoSuchPort,       // no device behind the number, or it vanished
    PermissionDenied, // the account may not open the device
    Busy,             // another program (or another channel) holds the port
    Other,            // not a terminal, settings refused, no thread ...
};

// The cause an errno from open/flock/ioctl stands for.
SerialOpenError serialOpenErrorFromErrno(int error);

} // namespace vexilon
