#include "support/qt_environment.h"
#include "support/window_controls.h"
#include "support/window_screenshot.h"

#include "app/settings_window/settings_window.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

using test_support::countPixels;

bool isRed(QRgb p) {
    return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
}

TEST(SettingsWindowOnScreen, FixedCentredWindowLooksAsLaidOut) {
    SettingsWindow window;
    ASSERT_NO_FATAL_FAILURE(test_support::showFixedAndCentred(window, QSize(613, 612)));

    // Grab once the picture's red line and the picker's red have been painted.
    const QRect pictureTop(
        test_support::controlsOf(window).PhotoPicture->mapTo(&window, QPoint(170, 0)),
        QSize(150, 50));
    const QRect picker(
        test_support::controlsOf(window).CarvedColorPicker->mapTo(&window, QPoint(8, 8)),
        QSize(224, 16));
    QImage shot;
    EXPECT_TRUE(test_support::grabOncePainted(
        window, QStringLiteral("settings_window.png"),
        [&](const QImage& image) {
            return countPixels(image, pictureTop, isRed) > 100 &&
                   countPixels(image, picker, isRed) == picker.width() * picker.height();
        },
        shot));
}

} // namespace
} // namespace vexilon
