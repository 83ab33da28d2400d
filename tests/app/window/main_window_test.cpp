#include "../../ui/qt_environment.h"

#include "app/window/main_window.h"
#include "app/window/placeholder_picture.h"
#include "ui/drop_target.h"
#include "ui/interval_timer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

bool isDark(QRgb pixel) {
    return qGray(pixel) < 96;
}

// The columns and rows that hold dark pixels, as a rectangle.
QRect darkArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isDark(image.pixel(x, y))) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

TEST(MainWindow, OwnsStoppedTimersAndAnUnregisteredDropTarget) {
    MainWindow window;
    for (IntervalTimer* timer : {window.verifyTimer(), window.runTimeTimer()}) {
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->intervalMs(), 0);
        EXPECT_FALSE(timer->isRunning());
    }
    EXPECT_EQ(window.findChild<IntervalTimer*>(QStringLiteral("VerifyTimer")),
              window.verifyTimer());
    EXPECT_EQ(window.findChild<IntervalTimer*>(QStringLiteral("RunTimeTimer")),
              window.runTimeTimer());
    EXPECT_EQ(window.findChild<DropTarget*>(QStringLiteral("DropTarget")), window.dropTarget());
    EXPECT_FALSE(window.acceptDrops());
}

TEST(MainWindow, ClosingIsAnnouncedOnceBeforeTheWindowGoes) {
    MainWindow window;
    window.show();
    QSignalSpy closing(&window, &MainWindow::closing);
    bool visibleWhenAnnounced = false;
    QObject::connect(&window, &MainWindow::closing,
                     [&] { visibleWhenAnnounced = window.isVisible(); });
    EXPECT_TRUE(window.close());
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(visibleWhenAnnounced);
    EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, PreviewShowsThePlaceholderAndBlankRulers) {
    MainWindow window;
    const QImage shown = window.ui.PreviewPicture->picture();
    ASSERT_EQ(shown.size(), QSize(512, 512));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), placeholderImage());

    // One line across the middle, spanning most of the width.
    const QRect text = darkArea(shown);
    EXPECT_LT(text.left(), 40);
    EXPECT_GT(text.right(), 472);
    EXPECT_GT(text.top(), 230);
    EXPECT_LT(text.bottom(), 290);
    EXPECT_GT(text.height(), 15);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(511, 511), qRgb(255, 255, 255));

    for (DrawPanel* ruler : {window.ui.RightRuler, window.ui.BottomRuler}) {
        const QImage ink = ruler->inkLayer();
        ASSERT_EQ(ink.size(), ruler->size());
        EXPECT_EQ(ink, [&] {
            QImage empty(ink.size(), ink.format());
            empty.fill(Qt::transparent);
            return empty;
        }());
    }
    // Nothing has been drawn on the canvas itself: its snapshot is blank.
    const QImage canvas = QImage::fromData(window.ui.PreviewCanvas->snapshot(512, 512), "BMP");
    ASSERT_EQ(canvas.size(), QSize(512, 512));
    EXPECT_TRUE(darkArea(canvas).isNull());
    EXPECT_EQ(canvas.pixel(256, 256), window.ui.PreviewCanvas->backgroundColor().rgb());
}

} // namespace
} // namespace vexilon
