#include "support/control_layout.h"
#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/window/main_window.h"
#include "ui/base/interval_timer.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

using test_support::ControlRow;

// The main window's layout, control by control.
// clang-format off
const ControlRow kLayout[] = {
    {"ConnectButton", "QPushButton", nullptr, {40, 8, 72, 32}, "Connecting", "Calibri", 12},
    {"PortComboBox", "QComboBox", nullptr, {136, 16, 64, 20}, "COM0", "Calibri", 12},
    {"DisconnectButton", "QPushButton", nullptr, {136, 8, 64, 32}, "Break", "Calibri", 12},
    {"StartButton", "QPushButton", nullptr, {280, 8, 96, 40}, "Start", "Calibri", 12},
    {"PauseButton", "QPushButton", nullptr, {464, 8, 96, 40}, "Pause", "Calibri", 12},
    {"RestartButton", "QPushButton", nullptr, {648, 8, 96, 40}, "Restart", "Calibri", 12},
    {"SendImageButton", "QPushButton", nullptr, {800, 8, 168, 56}, "Send Image To Machine", "Calibri", 12},
    {"MessageGroup", "QGroupBox", nullptr, {16, 56, 200, 536}, "Message", "Calibri", 12},
    {"LogBox", "QPlainTextEdit", "MessageGroup", {8, 16, 184, 496}, "", "微软雅黑", 12},
    {"CanvasGroup", "QGroupBox", nullptr, {232, 56, 530, 536}, "Carve Preview", "Calibri", 12},
    {"PreviewCanvas", "vexilon::DrawPanel", "CanvasGroup", {8, 16, 512, 512}, nullptr, nullptr, 0},
    {"PreviewPicture", "vexilon::PicBox", "PreviewCanvas", {0, 0, 512, 512}, nullptr, nullptr, 0},
    {"RightRuler", "vexilon::DrawPanel", "PreviewCanvas", {499, 0, 12, 512}, nullptr, nullptr, 0},
    {"BottomRuler", "vexilon::DrawPanel", "PreviewCanvas", {0, 499, 511, 12}, nullptr, nullptr, 0},
    {"LocationGroup", "QGroupBox", nullptr, {768, 72, 232, 184}, "Location Mode", "Calibri", 12},
    {"OriginButton", "QPushButton", "LocationGroup", {48, 16, 136, 48}, "To Origin", "Calibri", 12},
    {"MiddleButton", "QPushButton", "LocationGroup", {48, 72, 136, 48}, "To Middle of Image", "Calibri", 12},
    {"CarvingPreviewButton", "QPushButton", "LocationGroup", {48, 128, 136, 48}, "Carving Preview", "Calibri", 12},
    {"MovementGroup", "QGroupBox", nullptr, {768, 264, 232, 112}, "Movement", "Calibri", 12},
    {"UpButton", "QPushButton", nullptr, {856, 280, 48, 32}, "Up", "Calibri", 12},
    {"LeftButton", "QPushButton", nullptr, {800, 320, 48, 32}, "Left", "Calibri", 12},
    {"DownButton", "QPushButton", nullptr, {856, 320, 48, 32}, "Down", "Calibri", 12},
    {"RightButton", "QPushButton", nullptr, {912, 320, 48, 32}, "Right", "Calibri", 12},
    {"UseKeyboardCheckBox", "QCheckBox", "MovementGroup", {0, 96, 104, 16}, "Use Keyboard", "Arial", 12},
    {"CarveRateGroup", "QGroupBox", nullptr, {768, 384, 232, 64}, "Carve Rate Control", "Calibri", 12},
    {"FastBackwardButton", "QPushButton", nullptr, {776, 400, 64, 40}, "      Fast      Backward", "Calibri", 12},
    {"RecarveButton", "QPushButton", nullptr, {848, 400, 64, 40}, "Recarve", "Calibri", 12},
    {"FastForwardButton", "QPushButton", nullptr, {920, 400, 64, 40}, "      Fast      Forward", "Calibri", 12},
    {"ImageEditingGroup", "QGroupBox", nullptr, {768, 464, 232, 64}, "Image Editing", "Calibri", 12},
    {"ClearButton", "QPushButton", nullptr, {776, 480, 48, 40}, "Clear", "Calibri", 12},
    {"ReloadButton", "QPushButton", "ImageEditingGroup", {64, 16, 48, 40}, "Reload", "Calibri", 12},
    {"ZoomOutButton", "QPushButton", nullptr, {888, 480, 48, 40}, "Zoom Out", "Calibri", 12},
    {"RotateButton", "QPushButton", "ImageEditingGroup", {176, 16, 48, 40}, "Rotate", "Calibri", 12},
    {"XLabel", "QLabel", nullptr, {776, 544, 32, 40}, "X:", "Calibri", 29},
    {"XCoordBox", "QLineEdit", nullptr, {800, 544, 72, 40}, "000", "Calibri", 29},
    {"YLabel", "QLabel", nullptr, {896, 544, 24, 40}, "Y:", "Calibri", 29},
    {"YCoordBox", "QLineEdit", nullptr, {920, 544, 72, 40}, "000", "Calibri", 29},
    {"RunTimeLabel", "QLabel", nullptr, {24, 568, 136, 16}, "Run time :  00:00", "Calibri", 16},
    {"BurningTimeSlider", "vexilon::SliderBar", nullptr, {24, 600, 760, 24}, nullptr, "Calibri", 12},
    {"BurningTimeLabel", "QLabel", nullptr, {784, 592, 144, 32}, "Burning time: 60", "Calibri", 16},
    {"SettingButton", "QPushButton", nullptr, {928, 592, 64, 32}, "Setting", "Calibri", 12},
};
// clang-format on

// The teal captions of the four control groups are checked as drawn, in
// main_window_screen_test.cpp.
TEST(MainWindowLayout, EveryControlHasItsKindParentPlaceCaptionAndFont) {
    MainWindow window;
    for (const ControlRow& row : kLayout) {
        test_support::expectLaidOut(window, row);
    }
}

// The fixed size, the painted placeholder line and the blank rulers are
// checked on a real X server in main_window_screen_test.cpp.
TEST(MainWindow, StartsWithItsTitleThePortListAndStoppedTimers) {
    MainWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Miniature Vexilon\r\n"));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    ASSERT_EQ(test_support::controlsOf(window).PortComboBox->count(), 33);
    EXPECT_EQ(test_support::controlsOf(window).PortComboBox->itemText(32), QStringLiteral("COM32"));
    EXPECT_FALSE(window.verifyTimer()->isRunning() || window.runTimeTimer()->isRunning());
    EXPECT_FALSE(window.acceptDrops());
}

TEST(MainWindow, AnnouncesClosingWhileStillVisible) {
    MainWindow window;
    window.show();
    int announced = 0;
    QObject::connect(&window, &MainWindow::closing,
                     [&] { announced += window.isVisible() ? 1 : 100; });
    EXPECT_TRUE(window.close());
    EXPECT_EQ(announced, 1);
}

} // namespace
} // namespace vexilon
