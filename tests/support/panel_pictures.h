#pragma once

#include "ui/draw_panel.h"

#include <QImage>

namespace vexilon::test_support {

inline QImage solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture whose every pixel differs from its neighbours.
inline QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
        }
    }
    return image;
}

// A 3 x 4 panel with a dot at (1, 2) in 0x40, 0x80, 0xFF, a picture pixel of
// 5, 6, 7 at (2, 3), and a pixel drawn at (0, 0) and cleared again.
inline void drawSnapshotScene(DrawPanel& panel) {
    panel.resize(3, 4);
    panel.clear(0, 0, 3, 4);
    panel.setPixel(1, 2, 0x00FF8040); // red in the low byte
    panel.drawPicture(solid(1, 1, qRgb(9, 8, 7)), 0, 0);
    panel.clear(0, 0, 1, 1);
    panel.drawPicture(solid(1, 1, qRgb(5, 6, 7)), 2, 3);
}

} // namespace vexilon::test_support
