#include "link/serial/serial_open_error.h"

#include <cerrno>

namespace vexilon {

SerialOpenError serialOpenErrorFromErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return SerialOpenError::NoSuchPort;
    case EACCES:
    case EPERM:
        return SerialOpenError::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK:
        return SerialOpenError::Busy;
    default:
        return SerialOpenError::Other;
    }
}

} // namespace vexilon
