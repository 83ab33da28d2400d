#include "image/view/qt_pictures.h"

#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <vector>

namespace vexilon {
namespace {

QImage row(const std::vector<QRgb>& pixels) {
    QImage image(static_cast<int>(pixels.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x) {
        image.setPixel(x, 0, pixels[static_cast<std::size_t>(x)]);
    }
    return image;
}

TEST(ScaledPicture, WeighsEachSourcePixelByTheFractionCoveredAndRoundsToNearest) {
    // Three pixels onto two: each target pixel covers one whole source pixel
    // and half of the middle one.
    const QImage down =
        scaledPicture(row({qRgb(0, 30, 255), qRgb(90, 60, 0), qRgb(180, 0, 3)}), QSize(2, 1));
    ASSERT_EQ(down.size(), QSize(2, 1));
    EXPECT_EQ(down.pixel(0, 0), qRgb(30, 40, 170));
    EXPECT_EQ(down.pixel(1, 0), qRgb(150, 20, 2));
    // Two pixels onto three: the middle target pixel straddles both.
    const QImage up = scaledPicture(row({qRgb(10, 0, 0), qRgb(20, 0, 0)}), QSize(3, 1));
    EXPECT_EQ(row({qRgb(10, 0, 0), qRgb(15, 0, 0), qRgb(20, 0, 0)}), up);

    QImage square(4, 4, QImage::Format_RGB32);
    square.fill(qRgb(0, 0, 0));
    square.setPixel(1, 1, qRgb(1, 2, 255)); // top-left block: 1/4, 2/4, 255/4
    square.setPixel(2, 0, qRgb(2, 0, 0));   // top-right block: 2/4 rounds up
    QPainter(&square).fillRect(0, 2, 2, 2, Qt::white);
    const QImage half = scaledPicture(square, QSize(2, 2));
    EXPECT_EQ(half.pixel(0, 0), qRgb(0, 1, 64));
    EXPECT_EQ(half.pixel(1, 0), qRgb(1, 0, 0));
    EXPECT_EQ(half.pixel(0, 1), qRgb(255, 255, 255));
    EXPECT_EQ(half.pixel(1, 1), qRgb(0, 0, 0));
}

TEST(ScaledPicture, PartIsTheSameAsTheCropOfTheWhole) {
    QImage source(37, 23, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            source.setPixel(x, y, random.generate() | 0xff000000u);
        }
    }
    for (const QSize size : {QSize(11, 7), QSize(50, 61), QSize(37, 5)}) {
        const QImage whole = scaledPicture(source, size);
        const QRect part(size.width() / 3, size.height() / 2, size.width() / 2, size.height() / 3);
        EXPECT_EQ(scaledPicture(source, size, part), whole.copy(part)) << size.width();
    }
}

} // namespace
} // namespace vexilon
