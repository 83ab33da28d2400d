#include "support/qt_environment.h"

#include "app/window/main_window.h"
#include "ui/drop_target.h"
#include "ui/interval_timer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(MainWindow, OwnsStoppedTimersAndAnUnregisteredDropTargetAndAnnouncesClosing) {
    MainWindow window;
    EXPECT_EQ(window.findChild<IntervalTimer*>(QStringLiteral("VerifyTimer")),
              window.verifyTimer());
    EXPECT_EQ(window.findChild<IntervalTimer*>(QStringLiteral("RunTimeTimer")),
              window.runTimeTimer());
    EXPECT_FALSE(window.verifyTimer()->isRunning() || window.runTimeTimer()->isRunning());
    EXPECT_EQ(window.findChild<DropTarget*>(QStringLiteral("DropTarget")), window.dropTarget());
    EXPECT_FALSE(window.acceptDrops());

    window.show();
    QSignalSpy closing(&window, &MainWindow::closing);
    bool visibleWhenAnnounced = false;
    QObject::connect(&window, &MainWindow::closing,
                     [&] { visibleWhenAnnounced = window.isVisible(); });
    EXPECT_TRUE(window.close());
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(visibleWhenAnnounced);
}

TEST(MainWindow, PreviewShowsThePlaceholderLineAcrossTheMiddleAndBlankRulers) {
    MainWindow window;
    const QImage shown = window.ui.PreviewPicture->picture();
    ASSERT_EQ(shown.size(), QSize(512, 512));
    QRect text;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            if (qGray(shown.pixel(x, y)) < 96) {
                text |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_LT(text.left(), 40);
    EXPECT_GT(text.right(), 472);
    EXPECT_GT(text.top(), 230);
    EXPECT_LT(text.bottom(), 290);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));

    for (const DrawPanel* panel : {window.ui.RightRuler, window.ui.BottomRuler,
                                   static_cast<DrawPanel*>(window.ui.PreviewCanvas)}) {
        QImage blank(panel->size(), panel->inkLayer().format());
        blank.fill(Qt::transparent);
        EXPECT_EQ(panel->inkLayer(), blank) << panel->objectName().toStdString();
    }
}

} // namespace
} // namespace vexilon
