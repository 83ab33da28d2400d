#include "ui/themed_drawing.h"

#include <QApplication>
#include <QString>

namespace vexilon {

void useThemedDrawing() {
    QApplication::setStyle(QStringLiteral("Fusion"));
}

} // namespace vexilon
