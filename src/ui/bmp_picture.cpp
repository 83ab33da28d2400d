#include "ui/bmp_picture.h"

#include "image/bmp/bmp_headers.h"

#include <QFile>

#include <cstdint>
#include <limits>

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

QByteArray bmp24Bytes(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    const std::int64_t width = image.width();
    const std::int64_t height = image.height();
    const std::uint64_t rowBytes = bmpRowStride(static_cast<std::uint64_t>(width), 24);
    const std::uint64_t pixelBytes = rowBytes * static_cast<std::uint64_t>(height);
    if (pixelBytes + kBmpHeadersSize > std::numeric_limits<int>::max()) {
        return {};
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) {
        return {};
    }
    QByteArray bytes(static_cast<qsizetype>(kBmpHeadersSize + pixelBytes), '\0');
    auto* d = reinterpret_cast<std::uint8_t*>(bytes.data());
    InfoHeader info;
    info.width = static_cast<std::int32_t>(width);
    info.height = static_cast<std::int32_t>(height);
    info.bitCount = 24;
    info.imageSize = static_cast<std::uint32_t>(pixelBytes);
    writeBmpHeaders(d, info, 0, pixelBytes);
    for (std::int64_t y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(static_cast<int>(y)));
        std::uint8_t* row =
            d + kBmpHeadersSize + static_cast<std::uint64_t>(height - 1 - y) * rowBytes;
        for (std::int64_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(qBlue(src[x]));
            row[3 * x + 1] = static_cast<std::uint8_t>(qGreen(src[x]));
            row[3 * x + 2] = static_cast<std::uint8_t>(qRed(src[x]));
        }
    }
    return bytes;
}

} // namespace vexilon
