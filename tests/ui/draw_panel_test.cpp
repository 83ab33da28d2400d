#include "support/qt_environment.h"

#include "ui/area_average.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>

namespace vexilon {
namespace {

QImage solid(int w, int h, QRgb color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
        }
    }
    return image;
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

TEST(DrawPanel, DrawsPicturesExactlyAtOwnSizeAreaAveragedOtherwiseAndOnlyOnThePanel) {
    DrawPanel panel;
    panel.resize(40, 30);
    const QImage picture = gradient(12, 9);
    const auto drawn = [&](int x, int y, int w, int h) {
        return panel.inkLayer().copy(x, y, w, h).convertToFormat(QImage::Format_RGB32);
    };
    panel.drawPicture(picture, 3, 4, 12, 9);
    EXPECT_EQ(drawn(3, 4, 12, 9), picture);
    EXPECT_EQ(qAlpha(panel.inkLayer().pixel(2, 4)), 0);
    panel.drawPicture(picture, 20, 10, 5, 17);
    EXPECT_EQ(drawn(20, 10, 5, 17), scaleByAreaAverage(picture, QSize(5, 17)));
    // Partly off the panel: what falls inside is the matching part.
    panel.drawPicture(picture, -2, -3, 12, 9);
    EXPECT_EQ(drawn(0, 0, 10, 6), picture.copy(2, 3, 10, 6));
    panel.drawPicture(picture, 35, 25, 24, 18);
    EXPECT_EQ(drawn(35, 25, 5, 5), scaleByAreaAverage(picture, QSize(24, 18), QRect(0, 0, 5, 5)));

    // Null pictures, degenerate rectangles and pixels off the panel draw nothing.
    panel.resize(16, 16);
    const QImage before = panel.inkLayer();
    panel.drawPicture(QImage(), 0, 0, 16, 16);
    panel.drawPicture(solid(4, 4, qRgb(1, 2, 3)), 2, 2, -5, 16);
    panel.drawPicture(solid(4, 4, qRgb(1, 2, 3)), INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    panel.setPixel(16, 3, 0xff);
    EXPECT_EQ(panel.inkLayer(), before);
    // Only the part on the panel is resampled, however large the target.
    panel.drawPicture(solid(4, 4, qRgb(1, 2, 3)), 5, 5, INT_MAX, INT_MAX);
    EXPECT_EQ(panel.inkLayer().pixel(15, 15), qRgb(1, 2, 3));
    EXPECT_EQ(qAlpha(panel.inkLayer().pixel(4, 15)), 0);
}

TEST(DrawPanel, SnapshotIsA24BitBottomUpBmpOfTheDrawingOverTheBackground) {
    DrawPanel panel;
    panel.resize(3, 4);
    panel.setPixel(1, 2, 0x00FF8040); // red in the low byte
    panel.drawPicture(solid(1, 1, qRgb(9, 8, 7)), 0, 0, 1, 1);
    panel.clear(0, 0, 1, 1);
    panel.drawPicture(solid(1, 1, qRgb(5, 6, 7)), 2, 3, 1, 1);

    // The header fields are the shared BMP module's, tested with it; the size
    // shows 24 bits a pixel in rows padded to four bytes, read bottom-up below.
    const QByteArray bmp = panel.snapshot(3, 4);
    const int rowBytes = 12;
    ASSERT_EQ(bmp.size(), 54 + rowBytes * 4);
    const auto pixelAt = [&](int x, int y) {
        const int at = 54 + (3 - y) * rowBytes + 3 * x;
        return qRgb(static_cast<uchar>(bmp[at + 2]), static_cast<uchar>(bmp[at + 1]),
                    static_cast<uchar>(bmp[at]));
    };
    const QRgb background = panel.backgroundColor().rgb();
    EXPECT_EQ(pixelAt(1, 2), qRgb(0x40, 0x80, 0xFF));
    EXPECT_EQ(pixelAt(2, 3), qRgb(5, 6, 7));
    EXPECT_TRUE(pixelAt(0, 0) == background && pixelAt(2, 0) == background);
    EXPECT_EQ(bmp[54 + 9], '\0');

    // Beyond the panel the snapshot shows the background; the BMP reads back.
    const QImage wide = pictureFromBmpBytes(panel.snapshot(5, 6));
    ASSERT_EQ(wide.size(), QSize(5, 6));
    EXPECT_EQ(wide.pixel(1, 2), qRgb(0x40, 0x80, 0xFF));
    EXPECT_EQ(wide.pixel(4, 5), background);
    EXPECT_TRUE(panel.snapshot(0, 4).isEmpty());
    EXPECT_TRUE(panel.snapshot(INT_MAX, INT_MAX).isEmpty());
}

TEST(DrawPanel, DotsShowOverThePictureBoxUntilTheNextClear) {
    DrawPanel panel;
    panel.resize(20, 20);
    auto* box = new PicBox(&panel);
    box->setGeometry(3, 4, 16, 16);
    box->setPicture(bmp24Bytes(solid(16, 16, qRgb(255, 255, 255))));

    const auto seenAt = [box](int x) { return box->grab().toImage().pixel(x, 1); };
    panel.setPixel(5, 5, 0x000000FF);
    EXPECT_EQ(seenAt(2), qRgb(255, 0, 0));
    EXPECT_EQ(seenAt(2), qRgb(255, 0, 0)); // a repaint keeps it
    box->setPicture(bmp24Bytes(solid(16, 16, qRgb(0, 0, 0))));
    EXPECT_EQ(seenAt(2), qRgb(255, 0, 0));
    EXPECT_EQ(seenAt(3), qRgb(0, 0, 0));
    panel.clear(0, 0, 20, 20);
    EXPECT_EQ(seenAt(2), qRgb(0, 0, 0));

    // Without a picture the box shows the panel beneath it.
    box->setPicture(QByteArray());
    EXPECT_TRUE(box->picture().isNull());
    panel.setPixel(6, 6, 0x0000FF00);
    const QImage seen = panel.grab().toImage();
    EXPECT_EQ(seen.pixel(6, 6), qRgb(0, 255, 0));
    EXPECT_EQ(seen.pixel(10, 10), panel.backgroundColor().rgb());
}

TEST(DrawPanel, RepaintsOnceForABurstOfPixelsAndRefreshesThePictureBox) {
    QWidget window;
    window.resize(64, 64);
    auto* panel = new DrawPanel(&window);
    panel->setGeometry(0, 0, 64, 64);
    auto* box = new PicBox(panel);
    box->setGeometry(0, 0, 64, 64);
    box->setPicture(bmp24Bytes(solid(64, 64, qRgb(255, 255, 255))));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PaintCounter boxPaints(box);
    PaintCounter panelPaints(panel);

    for (int i = 0; i < 1000; ++i) {
        panel->setPixel(i % 64, (i / 64) % 64, 0x000000FF);
    }
    EXPECT_EQ(boxPaints.count + panelPaints.count, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxPaints.count > 0; }));
    EXPECT_TRUE(boxPaints.count <= 2 && panelPaints.count <= 2)
        << boxPaints.count << panelPaints.count;
}

} // namespace
} // namespace vexilon
