#include "link/connection/open_failure_text.h"

namespace vexilon {

QString openFailureText(SerialOpenError cause, int portNumber) {
    const QString port = QStringLiteral("COM") + QString::number(portNumber);
    switch (cause) {
    case SerialOpenError::NoSuchPort:
        return QStringLiteral(">No device is behind %1\r\n\r\n").arg(port);
    case SerialOpenError::PermissionDenied:
        return QStringLiteral(">Permission denied on %1: add your user to the dialout group "
                              "(sudo adduser $USER dialout), then log out and in again\r\n\r\n")
            .arg(port);
    case SerialOpenError::Busy:
        return QStringLiteral(">%1 is held by another program\r\n\r\n").arg(port);
    case SerialOpenError::None:
    case SerialOpenError::Other:
        break;
    }
    return {};
}

} // namespace vexilon
