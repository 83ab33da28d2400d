#pragma once

class QLineEdit;

namespace vexilon {

// The last dot the machine reported, in decimal without leading zeros.
void showPosition(QLineEdit& xBox, QLineEdit& yBox, int x, int y);

// Back to "000" in both boxes.
void resetPosition(QLineEdit& xBox, QLineEdit& yBox);

} // namespace vexilon
