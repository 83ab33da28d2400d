#pragma once

#include <termios.h>

namespace vexilon {

// The console's fixed line: raw 8-bit transfer at 57600 baud, 8 data bits, no
// parity, one stop bit, receiver on, modem control lines ignored, no hardware
// or software flow control. Every other setting keeps what the port had.
void applyConsoleLineSettings(termios& settings);

// Puts the open terminal `fd` into the console's line settings and checks that
// the port took them. Returns 0, or the errno of the step that failed (EINVAL
// when the port silently refused a setting).
int configureConsoleLine(int fd);

// Raises RTS; ports without modem lines (pseudo-terminals) refuse, which is fine.
void raiseRts(int fd);

} // namespace vexilon
