#pragma once

#include "image/pipeline/area_average.h"
#include "image/pipeline/prepared_image.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>

namespace vexilon {

class DrawPanel;

// The pixels of a screen picture, read in place; `rgb32` must be in
// QImage::Format_RGB32 (or ARGB32) and outlive the view.
PixelView pixelView(const QImage& rgb32);

// Pixels made by the image library as a screen picture.
QImage screenPicture(const PixelImage& pixels);

// The prepared image as a two-colour screen picture, black and white.
QImage screenPicture(const PreparedImage& prepared);

// The picture scaled to `size` by the image library's area averaging; only
// `part` of the target (clipped to it) is computed and returned. Null when
// the picture is null or the part is empty.
QImage scaledPicture(const QImage& picture, QSize size, QRect part);
QImage scaledPicture(const QImage& picture, QSize size);

// Draws `picture` on the panel scaled to w x h with its top left at (x, y):
// an exact copy at its own size. Only what falls on the panel is computed.
void drawScaled(DrawPanel& panel, const QImage& picture, int x, int y, int w, int h);

// The picture as a 24-bit uncompressed BMP file: 54-byte header, rows bottom
// first, each padded to four bytes. Empty for a null picture or one too
// large for the format's 32-bit sizes.
QByteArray bmp24Bytes(const QImage& picture);

} // namespace vexilon
