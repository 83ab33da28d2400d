#include "ui/bmp_picture.h"

#include <QFile>

#include <cstdint>
#include <limits>

namespace vexilon {

namespace {

void putU16(char* at, std::uint32_t value) {
    at[0] = static_cast<char>(value & 0xff);
    at[1] = static_cast<char>((value >> 8) & 0xff);
}

void putU32(char* at, std::uint32_t value) {
    putU16(at, value & 0xffff);
    putU16(at + 2, value >> 16);
}

constexpr int kHeaderBytes = 54;

} // namespace

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
    const std::int64_t rowBytes = (width * 24 + 31) / 32 * 4;
    const std::int64_t pixelBytes = rowBytes * height;
    if (pixelBytes + kHeaderBytes > std::numeric_limits<int>::max()) {
        return {};
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) {
        return {};
    }
    QByteArray bytes(static_cast<qsizetype>(kHeaderBytes + pixelBytes), '\0');
    char* d = bytes.data();
    d[0] = 'B';
    d[1] = 'M';
    putU32(d + 2, static_cast<std::uint32_t>(kHeaderBytes + pixelBytes));
    putU32(d + 10, kHeaderBytes);
    putU32(d + 14, 40);
    putU32(d + 18, static_cast<std::uint32_t>(width));
    putU32(d + 22, static_cast<std::uint32_t>(height));
    putU16(d + 26, 1);
    putU16(d + 28, 24);
    putU32(d + 34, static_cast<std::uint32_t>(pixelBytes));
    for (std::int64_t y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(static_cast<int>(y)));
        char* row = d + kHeaderBytes + (height - 1 - y) * rowBytes;
        for (std::int64_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<char>(qBlue(src[x]));
            row[3 * x + 1] = static_cast<char>(qGreen(src[x]));
            row[3 * x + 2] = static_cast<char>(qRed(src[x]));
        }
    }
    return bytes;
}

} // namespace vexilon
