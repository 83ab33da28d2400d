#include "support/panel_pictures.h"
#include "support/qt_environment.h"

#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include <QBuffer>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>

namespace vexilon {
namespace {

using test_support::gradient;
using test_support::solid;

// The picture as the bytes of a BMP file, as picture boxes take them.
QByteArray pictureBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
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

TEST(DrawPanel, DrawsPicturesAtOwnSizeOnlyOnThePanelAndSnapshotsOverTheBackground) {
    DrawPanel panel;
    panel.resize(40, 30);
    const QImage picture = gradient(12, 9);
    const auto drawn = [&](int x, int y, int w, int h) {
        return panel.inkLayer().copy(x, y, w, h).convertToFormat(QImage::Format_RGB32);
    };
    panel.drawPicture(picture, 3, 4);
    EXPECT_EQ(drawn(3, 4, 12, 9), picture);
    EXPECT_EQ(qAlpha(panel.inkLayer().pixel(2, 4)), 0);
    // Partly off the panel: what falls inside is the matching part.
    panel.drawPicture(picture, -2, -3);
    EXPECT_EQ(drawn(0, 0, 10, 6), picture.copy(2, 3, 10, 6));

    // Null pictures and pixels off the panel draw nothing.
    panel.resize(16, 16);
    const QImage before = panel.inkLayer();
    panel.drawPicture(QImage(), 0, 0);
    panel.drawPicture(solid(4, 4, qRgb(1, 2, 3)), INT_MAX, INT_MAX);
    panel.setPixel(16, 3, 0xff);
    EXPECT_EQ(panel.inkLayer(), before);

    // The snapshot: the drawing over the background, which shows beyond the
    // panel too.
    test_support::drawSnapshotScene(panel);
    const QRgb background = panel.backgroundColour().rgb();
    const QImage wide = panel.snapshot(5, 6);
    ASSERT_EQ(wide.size(), QSize(5, 6));
    EXPECT_EQ(wide.pixel(1, 2), qRgb(0x40, 0x80, 0xFF));
    EXPECT_EQ(wide.pixel(2, 3), qRgb(5, 6, 7));
    EXPECT_TRUE(wide.pixel(0, 0) == background && wide.pixel(4, 5) == background);
    EXPECT_TRUE(panel.snapshot(0, 4).isNull());
    EXPECT_TRUE(panel.snapshot(INT_MAX, INT_MAX).isNull());
}

TEST(DrawPanel, DotsShowOverThePictureBoxUntilTheNextClear) {
    DrawPanel panel;
    panel.resize(20, 20);
    auto* box = new PicBox(&panel);
    box->setGeometry(3, 4, 16, 16);
    box->setPicture(pictureBytes(solid(16, 16, qRgb(255, 255, 255))));

    const auto seenAt = [box](int x) { return box->grab().toImage().pixel(x, 1); };
    panel.setPixel(5, 5, 0x000000FF);
    EXPECT_EQ(seenAt(2), qRgb(255, 0, 0));
    EXPECT_EQ(seenAt(2), qRgb(255, 0, 0)); // a repaint keeps it
    box->setPicture(pictureBytes(solid(16, 16, qRgb(0, 0, 0))));
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
    EXPECT_EQ(seen.pixel(10, 10), panel.backgroundColour().rgb());
}

TEST(DrawPanel, RepaintsOnceForABurstOfPixelsAndRefreshesThePictureBox) {
    QWidget window;
    window.resize(64, 64);
    auto* panel = new DrawPanel(&window);
    panel->setGeometry(0, 0, 64, 64);
    auto* box = new PicBox(panel);
    box->setGeometry(0, 0, 64, 64);
    box->setPicture(pictureBytes(solid(64, 64, qRgb(255, 255, 255))));
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
