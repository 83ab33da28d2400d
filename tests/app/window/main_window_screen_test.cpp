#include "../../ui/qt_environment.h"

#include "app/window/main_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vexilon {
namespace {

// How many separate bands of rows in `area` hold dark pixels.
int textLines(const QImage& image, const QRect& area) {
    int bands = 0;
    bool inBand = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool dark = false;
        for (int x = area.left() + 4; x <= area.right() - 4 && !dark; ++x) {
            dark = qGray(image.pixel(x, y)) < 100;
        }
        bands += dark && !inBand ? 1 : 0;
        inBand = dark;
    }
    return bands;
}

template <typename Test> bool holds(const QImage& image, const QRect& area, Test test) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (test(image.pixel(x, y))) {
                return true;
            }
        }
    }
    return false;
}

// Teal (0, 128, 128) as anti-aliased text shows it: green and blue alike,
// well above red, and darker than the background.
bool isTeal(QRgb p) {
    return qGreen(p) - qRed(p) > 50 && std::abs(qGreen(p) - qBlue(p)) < 16 && qGreen(p) < 200;
}

bool isBlack(QRgb p) {
    return (p & 0xffffff) == 0;
}

bool allOfColour(const QImage& image, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != (colour & 0xffffff)) {
                return false;
            }
        }
    }
    return true;
}

TEST(MainWindowOnScreen, FixedCentredWindowLooksAsLaidOut) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QScreen* screen = window.screen();
    ASSERT_NE(screen, nullptr);

    EXPECT_EQ(window.geometry().size(), QSize(1007, 636));
    const QPoint offCentre = window.geometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);

    // The size hints the window manager gets forbid any other size.
    EXPECT_EQ(window.windowHandle()->minimumSize(), QSize(1007, 636));
    EXPECT_EQ(window.windowHandle()->maximumSize(), QSize(1007, 636));
    window.resize(1200, 800);
    EXPECT_EQ(window.size(), QSize(1007, 636));

    // The picture view paints the placeholder once the window is mapped.
    const QPoint canvas = window.ui.PreviewCanvas->mapTo(&window, QPoint(0, 0));
    QImage shot;
    const bool painted = QTest::qWaitFor([&] {
        shot = screen->grabWindow(window.winId()).toImage();
        return shot.size() == QSize(1007, 636) &&
               holds(shot, QRect(canvas + QPoint(20, 240), QSize(470, 40)), isBlack);
    });
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(shot.save(QStringLiteral("main_window.png")));
    ASSERT_TRUE(painted);

    // Teal captions over the right-hand group boxes, black ones elsewhere.
    for (const QWidget* group : {static_cast<QWidget*>(window.ui.LocationGroup),
                                 static_cast<QWidget*>(window.ui.ImageEditingGroup)}) {
        const QRect caption(group->mapTo(&window, QPoint(0, 0)), QSize(group->width(), 14));
        EXPECT_TRUE(holds(shot, caption, isTeal)) << group->objectName().toStdString();
    }
    const QRect message(window.ui.MessageGroup->mapTo(&window, QPoint(0, 0)), QSize(200, 14));
    EXPECT_FALSE(holds(shot, message, isTeal));
    EXPECT_TRUE(holds(shot, message, [](QRgb p) { return qGray(p) < 60; }));
    // "      Fast      Backward" breaks onto two lines; "Restart" stays on one.
    EXPECT_EQ(textLines(shot, window.ui.FastBackwardButton->geometry()), 2);
    EXPECT_EQ(textLines(shot, window.ui.FastForwardButton->geometry()), 2);
    EXPECT_EQ(textLines(shot, window.ui.RestartButton->geometry()), 1);

    // The rulers are blank: only their background inside the canvas border.
    const QRgb face = window.ui.RightRuler->backgroundColor().rgb();
    const QRect right(window.ui.RightRuler->mapTo(&window, QPoint(0, 1)), QSize(12, 510));
    const QRect bottom(window.ui.BottomRuler->mapTo(&window, QPoint(1, 0)), QSize(510, 12));
    EXPECT_TRUE(allOfColour(shot, right, face));
    EXPECT_TRUE(allOfColour(shot, bottom, face));
}

} // namespace
} // namespace vexilon
