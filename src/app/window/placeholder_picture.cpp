#include "app/window/placeholder_picture.h"

#include "image/view/qt_pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>

namespace vexilon {

namespace {

constexpr int kSide = 512;
// The line spans most of the square, leaving a margin on either side.
constexpr double kTextWidth = 470.0;

} // namespace

QImage placeholderImage() {
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::white);

    const QString line = QStringLiteral("Drag and drop pictures to here");
    QFont font(QStringLiteral("Liberation Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPixelSize(40);
    const double measured = QFontMetricsF(font).horizontalAdvance(line);
    if (measured > 0) {
        font.setPixelSize(qMax(1, static_cast<int>(40 * kTextWidth / measured)));
    }

    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, line);
    painter.end();
    return image;
}

QByteArray placeholderPicture() {
    return bmp24Bytes(placeholderImage());
}

} // namespace vexilon
