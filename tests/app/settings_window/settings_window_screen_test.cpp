#include "support/qt_environment.h"
#include "support/window_controls.h"
#include "support/window_screenshot.h"

#include "app/settings_window/settings_window.h"

#include <QTest>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

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

// What the window manager reads for the title bar, on a connection of its own.
std::string titleProperty(xcb_window_t window, const char* name) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const auto atomCookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr);
    const auto cookie =
        xcb_get_property(connection, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::string value = "(missing)";
    if (reply != nullptr && reply->type != XCB_ATOM_NONE) {
        value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    }
    std::free(reply);
    std::free(atom);
    xcb_disconnect(connection);
    return value;
}

TEST(SettingsWindowOnScreen, TheTitleBarIsEmptyNotTheProgramsName) {
    QCoreApplication::setApplicationName(QStringLiteral("vexilon-console"));
    for (int opening = 0; opening < 2; ++opening) {
        SettingsWindow window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const auto id = static_cast<xcb_window_t>(window.winId());
        EXPECT_EQ(titleProperty(id, "WM_NAME"), "");
        EXPECT_EQ(titleProperty(id, "_NET_WM_NAME"), "");
    }
}

} // namespace
} // namespace vexilon
