#include "support/qt_environment.h"
#include "support/window_controls.h"
#include "support/window_screenshot.h"

#include "app/window/main_window.h"

#include <QGroupBox>
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

namespace vexilon {
namespace {

using test_support::anyPixel;

bool isDark(QRgb p) {
    return qGray(p) < 100;
}

// Teal (0, 128, 128) as anti-aliased text shows it: green and blue alike,
// well above red.
bool isTeal(QRgb p) {
    return qGreen(p) - qRed(p) > 50 && std::abs(qGreen(p) - qBlue(p)) < 16 && qGreen(p) < 200;
}

// How many separate bands of rows inside a widget's area hold dark pixels.
int textLines(const QImage& image, const QWidget* widget) {
    const QRect area = widget->geometry().adjusted(4, 2, -4, -2);
    int bands = 0;
    bool inBand = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const bool dark = anyPixel(image, QRect(area.left(), y, area.width(), 1), isDark);
        bands += dark && !inBand ? 1 : 0;
        inBand = dark;
    }
    return bands;
}

TEST(MainWindowOnScreen, FixedCentredWindowLooksAsLaidOut) {
    MainWindow window;
    ASSERT_NO_FATAL_FAILURE(test_support::showFixedAndCentred(window, QSize(1007, 636)));

    // Grab once the placeholder line has been painted across the preview's middle.
    const QRect lineStart(
        test_support::controlsOf(window).PreviewCanvas->mapTo(&window, QPoint(1, 231)),
        QSize(39, 58));
    const QRect lineEnd(
        test_support::controlsOf(window).PreviewCanvas->mapTo(&window, QPoint(473, 231)),
        QSize(37, 58));
    const auto black = [](QRgb p) { return (p & 0xffffff) == 0; };
    QImage shot;
    ASSERT_TRUE(test_support::grabOncePainted(
        window, QStringLiteral("main_window.png"),
        [&](const QImage& image) {
            return anyPixel(image, lineStart, black) && anyPixel(image, lineEnd, black);
        },
        shot));

    for (const QGroupBox* group : {test_support::controlsOf(window).LocationGroup,
                                   test_support::controlsOf(window).MovementGroup,
                                   test_support::controlsOf(window).CarveRateGroup,
                                   test_support::controlsOf(window).ImageEditingGroup}) {
        const QRect caption(group->mapTo(&window, QPoint(0, 0)), QSize(group->width(), 14));
        EXPECT_TRUE(anyPixel(shot, caption, isTeal)) << group->objectName().toStdString();
    }
    const QRect message(test_support::controlsOf(window).MessageGroup->mapTo(&window, QPoint(0, 0)),
                        QSize(200, 14));
    EXPECT_TRUE(anyPixel(shot, message, isDark) && !anyPixel(shot, message, isTeal));

    for (auto [button, lines] : {std::pair{test_support::controlsOf(window).FastBackwardButton, 2},
                                 {test_support::controlsOf(window).FastForwardButton, 2},
                                 {test_support::controlsOf(window).RestartButton, 1}}) {
        EXPECT_EQ(textLines(shot, button), lines) << button->objectName().toStdString();
    }

    // The rulers show only their background inside the canvas border.
    const QRgb face = test_support::controlsOf(window).RightRuler->backgroundColour().rgb();
    const auto notFace = [face](QRgb p) { return (p & 0xffffff) != (face & 0xffffff); };
    EXPECT_FALSE(
        anyPixel(shot,
                 QRect(test_support::controlsOf(window).RightRuler->mapTo(&window, QPoint(0, 1)),
                       QSize(12, 510)),
                 notFace));
    EXPECT_FALSE(
        anyPixel(shot,
                 QRect(test_support::controlsOf(window).BottomRuler->mapTo(&window, QPoint(1, 0)),
                       QSize(510, 12)),
                 notFace));
}

} // namespace
} // namespace vexilon
