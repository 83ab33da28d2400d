#pragma once

#include <QList>

class QWidget;

namespace vexilon {

// The twenty controls whose enabled state is the console's only record of
// where a job stands, in the order every group change applies to them.
QList<QWidget*> machineControls(const QWidget& window);

void setMachineControlsEnabled(const QWidget& window, bool enabled);

} // namespace vexilon
