#include "image/view/qt_pictures.h"

#include "image/bmp/bmp_headers.h"
#include "ui/draw_panel.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

namespace vexilon {

// A 32-bit screen pixel 0xAARRGGBB lies in memory as blue, green, red, alpha
// only on a little-endian machine, which is what pixelView relies on.
static_assert(std::endian::native == std::endian::little);

PixelView pixelView(const QImage& rgb32) {
    if (rgb32.isNull()) {
        return {};
    }
    return {rgb32.constBits(), static_cast<std::ptrdiff_t>(rgb32.bytesPerLine()), rgb32.width(),
            rgb32.height(), 4};
}

QImage screenPicture(const PixelImage& pixels) {
    if (pixels.width < 1 || pixels.height < 1) {
        return {};
    }
    QImage picture(pixels.width, pixels.height, QImage::Format_RGB32);
    if (picture.isNull()) {
        return {};
    }
    const std::size_t rowBytes = static_cast<std::size_t>(pixels.width) * 4;
    for (int y = 0; y < pixels.height; ++y) {
        std::memcpy(picture.scanLine(y), &pixels.pixels[static_cast<std::size_t>(y) * pixels.width],
                    rowBytes);
    }
    return picture;
}

QImage screenPicture(const PreparedImage& prepared) {
    QImage picture(kPreparedSide, kPreparedSide, QImage::Format_Mono);
    if (picture.isNull()) {
        return {};
    }
    // Format_Mono holds the leftmost pixel in the high bit, as the prepared
    // image does; 0 is black and 1 white by this table.
    picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < kPreparedSide; ++y) {
        const auto bits = prepared.rowBits(y);
        std::copy(bits.begin(), bits.end(), picture.scanLine(y));
    }
    return picture;
}

QImage scaledPicture(const QImage& picture, QSize size, QRect part) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    return screenPicture(scaleByAreaAverage(pixelView(source), size.width(), size.height(),
                                            {part.x(), part.y(), part.width(), part.height()}));
}

QImage scaledPicture(const QImage& picture, QSize size) {
    return scaledPicture(picture, size, QRect(QPoint(0, 0), size));
}

void drawScaled(DrawPanel& panel, const QImage& picture, int x, int y, int w, int h) {
    if (picture.isNull() || w <= 0 || h <= 0) {
        return;
    }
    if (picture.size() == QSize(w, h)) {
        panel.drawPicture(picture, x, y);
        return;
    }
    // The part of the target that lies on the panel, in target coordinates,
    // computed without overflow for any int arguments.
    const std::int64_t left = std::max<std::int64_t>(0, -std::int64_t{x});
    const std::int64_t top = std::max<std::int64_t>(0, -std::int64_t{y});
    const std::int64_t right = std::min<std::int64_t>(w, std::int64_t{panel.width()} - x);
    const std::int64_t bottom = std::min<std::int64_t>(h, std::int64_t{panel.height()} - y);
    if (left >= right || top >= bottom) {
        return;
    }
    const QRect part(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top));
    panel.drawPicture(scaledPicture(picture, QSize(w, h), part),
                      static_cast<int>(std::int64_t{x} + left),
                      static_cast<int>(std::int64_t{y} + top));
}

QByteArray bmp24Bytes(const QImage& picture) {
    if (picture.isNull()) {
        return {};
    }
    const std::int64_t width = picture.width();
    const std::int64_t height = picture.height();
    const std::uint64_t rowBytes = bmpRowStride(static_cast<std::uint64_t>(width), 24);
    const std::uint64_t pixelBytes = rowBytes * static_cast<std::uint64_t>(height);
    if (pixelBytes + kBmpHeadersSize > std::numeric_limits<int>::max()) {
        return {};
    }
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
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
        const std::uint8_t* src = rgb.constScanLine(static_cast<int>(y));
        std::uint8_t* row =
            d + kBmpHeadersSize + static_cast<std::uint64_t>(height - 1 - y) * rowBytes;
        for (std::int64_t x = 0; x < width; ++x) {
            std::memcpy(row + 3 * x, src + 4 * x, 3);
        }
    }
    return bytes;
}

} // namespace vexilon
