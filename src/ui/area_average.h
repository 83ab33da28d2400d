#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

namespace vexilon {

// Scales `picture` to `size` by area averaging: every target pixel is the
// mean of the source area it covers, each source pixel weighted by the exact
// fraction of it that falls inside. Only the pixels of `part` (in target
// coordinates, clipped to the target) are computed, so a huge target costs
// no more than the part of it that is seen. Returns an RGB32 image of the
// clipped part's size; a null image when the picture is null or the part is
// empty.
QImage scaleByAreaAverage(const QImage& picture, QSize size, QRect part);

inline QImage scaleByAreaAverage(const QImage& picture, QSize size) {
    return scaleByAreaAverage(picture, size, QRect(QPoint(0, 0), size));
}

} // namespace vexilon
