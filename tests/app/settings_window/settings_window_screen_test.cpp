#include "support/qt_environment.h"

#include "app/settings_window/settings_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

int count(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            found += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return found;
}

bool isRed(QRgb p) {
    return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
}

TEST(SettingsWindowOnScreen, FixedCentredWindowLooksAsLaidOut) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    SettingsWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QScreen* screen = window.screen();

    // No window manager here: the window is its client area.
    EXPECT_EQ(window.geometry().size(), QSize(613, 612));
    const QPoint offCentre = window.geometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
    window.resize(800, 700);
    EXPECT_EQ(window.size(), QSize(613, 612));

    // Grab once the picture's red line and the picker's red have been painted.
    const QRect pictureTop(window.ui.PhotoPicture->mapTo(&window, QPoint(170, 0)), QSize(150, 50));
    const QRect picker(window.ui.CarvedColorPicker->mapTo(&window, QPoint(8, 8)), QSize(224, 16));
    QImage shot;
    const bool painted = QTest::qWaitFor([&] {
        shot = screen->grabWindow(window.winId()).toImage();
        return shot.size() == QSize(613, 612) && count(shot, pictureTop, isRed) > 100 &&
               count(shot, picker, isRed) == picker.width() * picker.height();
    });
    ASSERT_TRUE(shot.save(QStringLiteral("settings_window.png")));
    EXPECT_TRUE(painted);
}

} // namespace
} // namespace vexilon
