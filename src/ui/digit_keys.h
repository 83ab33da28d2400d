#pragma once

class QLineEdit;

namespace vexilon {

// Lets only the digits 0 to 9 and the minus sign be typed into the box; the
// editing keys and shortcuts (erase, move, select, copy, paste) keep working.
// Text set by code, pasted or already there is left as it is.
void acceptOnlyDigitsAndMinus(QLineEdit* box);

} // namespace vexilon
