#include "support/panel_pictures.h"
#include "support/qt_environment.h"

#include "image/view/qt_pictures.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"

#include <gtest/gtest.h>

#include <climits>

namespace vexilon {
namespace {

using test_support::gradient;
using test_support::solid;

TEST(DrawScaled, DrawsPicturesExactlyAtOwnSizeAreaAveragedOtherwiseAndOnlyOnThePanel) {
    DrawPanel panel;
    panel.resize(40, 30);
    const QImage picture = gradient(12, 9);
    const auto drawn = [&](int x, int y, int w, int h) {
        return panel.inkLayer().copy(x, y, w, h).convertToFormat(QImage::Format_RGB32);
    };
    drawScaled(panel, picture, 3, 4, 12, 9);
    EXPECT_EQ(drawn(3, 4, 12, 9), picture);
    EXPECT_EQ(qAlpha(panel.inkLayer().pixel(2, 4)), 0);
    drawScaled(panel, picture, 20, 10, 5, 17);
    EXPECT_EQ(drawn(20, 10, 5, 17), scaledPicture(picture, QSize(5, 17)));
    // Partly off the panel: what falls inside is the matching part.
    drawScaled(panel, picture, -2, -3, 12, 9);
    EXPECT_EQ(drawn(0, 0, 10, 6), picture.copy(2, 3, 10, 6));
    drawScaled(panel, picture, 35, 25, 24, 18);
    EXPECT_EQ(drawn(35, 25, 5, 5), scaledPicture(picture, QSize(24, 18), QRect(0, 0, 5, 5)));

    // Null pictures and degenerate rectangles draw nothing.
    panel.resize(16, 16);
    const QImage before = panel.inkLayer();
    drawScaled(panel, QImage(), 0, 0, 16, 16);
    drawScaled(panel, solid(4, 4, qRgb(1, 2, 3)), 2, 2, -5, 16);
    drawScaled(panel, solid(4, 4, qRgb(1, 2, 3)), INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(panel.inkLayer(), before);
    // Only the part on the panel is resampled, however large the target.
    drawScaled(panel, solid(4, 4, qRgb(1, 2, 3)), 5, 5, INT_MAX, INT_MAX);
    EXPECT_EQ(panel.inkLayer().pixel(15, 15), qRgb(1, 2, 3));
    EXPECT_EQ(qAlpha(panel.inkLayer().pixel(4, 15)), 0);
}

TEST(DrawScaled, SnapshotBmpIs24BitBottomUpOfTheDrawingOverTheBackground) {
    DrawPanel panel;
    test_support::drawSnapshotScene(panel);

    // The header fields are the shared BMP module's, tested with it; the size
    // shows 24 bits a pixel in rows padded to four bytes, read bottom-up below.
    const QByteArray bmp = bmp24Bytes(panel.snapshot(3, 4));
    const int rowBytes = 12;
    ASSERT_EQ(bmp.size(), 54 + rowBytes * 4);
    const auto pixelAt = [&](int x, int y) {
        const int at = 54 + (3 - y) * rowBytes + 3 * x;
        return qRgb(static_cast<uchar>(bmp[at + 2]), static_cast<uchar>(bmp[at + 1]),
                    static_cast<uchar>(bmp[at]));
    };
    const QRgb background = panel.backgroundColour().rgb();
    EXPECT_EQ(pixelAt(1, 2), qRgb(0x40, 0x80, 0xFF));
    EXPECT_EQ(pixelAt(2, 3), qRgb(5, 6, 7));
    EXPECT_TRUE(pixelAt(0, 0) == background && pixelAt(2, 0) == background);
    EXPECT_EQ(bmp[54 + 9], '\0');

    // The BMP reads back.
    const QImage wide = pictureFromBmpBytes(bmp24Bytes(panel.snapshot(5, 6)));
    ASSERT_EQ(wide.size(), QSize(5, 6));
    EXPECT_EQ(wide.pixel(1, 2), qRgb(0x40, 0x80, 0xFF));
    EXPECT_EQ(wide.pixel(4, 5), background);
    EXPECT_TRUE(bmp24Bytes(panel.snapshot(0, 4)).isEmpty());
}

} // namespace
} // namespace vexilon
