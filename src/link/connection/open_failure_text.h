#pragma once

#include "link/serial/serial_open_error.h"

#include <QString>

namespace vexilon {

// The log line that names why a port chosen by hand did not open; empty when
// the cause is not one the user can act on.
QString openFailureText(SerialOpenError cause, int portNumber);

} // namespace vexilon
