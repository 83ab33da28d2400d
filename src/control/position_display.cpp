#include "control/position_display.h"

#include <QLineEdit>

namespace vexilon {

void showPosition(QLineEdit& xBox, QLineEdit& yBox, int x, int y) {
    xBox.setText(QString::number(x));
    yBox.setText(QString::number(y));
}

void resetPosition(QLineEdit& xBox, QLineEdit& yBox) {
    const QString zero = QStringLiteral("000");
    xBox.setText(zero);
    yBox.setText(zero);
}

} // namespace vexilon
