#include "ui/bmp_picture.h"

#include <QFile>

namespace vexilon {

QImage pictureFromBmpBytes(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    return QImage::fromData(bytes, "BMP");
}

QImage pictureFromBmpFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return pictureFromBmpBytes(file.readAll());
}

} // namespace vexilon
