#include "ui/message_box.h"

#include <QMessageBox>

namespace vexilon {

void showMessage(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.exec();
}

} // namespace vexilon
