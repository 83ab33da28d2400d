#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

// A fixed-size window on a real X server (no window manager: the window is
// its client area), and screenshots of it.
namespace vexilon::test_support {

// Shows the window and checks that it opens at size, centred on its screen,
// and keeps that size when asked for another.
inline void showFixedAndCentred(QWidget& window, QSize size) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.geometry().size(), size);
    const QPoint offCentre =
        window.geometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
    window.resize(size + QSize(200, 150));
    EXPECT_EQ(window.size(), size);
}

// Grabs the window until painted holds for the shot, or the wait gives up,
// and saves the last shot to fileName (kept with the test's results).
// Whether it was painted in the end.
inline bool grabOncePainted(QWidget& window, const QString& fileName,
                            const std::function<bool(const QImage&)>& painted, QImage& shot) {
    const bool done = QTest::qWaitFor([&] {
        shot = window.screen()->grabWindow(window.winId()).toImage();
        return shot.size() == window.size() && painted(shot);
    });
    EXPECT_TRUE(shot.save(fileName)) << fileName.toStdString();
    return done;
}

// How many pixels in area pass test.
template <typename Test> int countPixels(const QImage& image, const QRect& area, Test test) {
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            found += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return found;
}

// Whether any pixel in area passes test.
template <typename Test> bool anyPixel(const QImage& image, const QRect& area, Test test) {
    return countPixels(image, area, test) > 0;
}

} // namespace vexilon::test_support
