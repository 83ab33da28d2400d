#include "support/control_layout.h"
#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/settings_window/explanatory_picture.h"
#include "app/settings_window/settings_window.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

using test_support::ControlRow;

// The settings window's layout, control by control.
// clang-format off
const ControlRow kLayout[] = {
    {"StepPauseGroup", "QGroupBox", nullptr, {16, 16, 576, 320}, "Set Step Pause", "Calibri", 12},
    {"PhotoPicture", "vexilon::PicBox", nullptr, {64, 48, 488, 224}, nullptr, nullptr, 0},
    {"StepPauseLabel", "QLabel", nullptr, {168, 288, 104, 24}, "Motor Step Pause :", "Calibri", 12},
    {"StepPauseBox", "QLineEdit", nullptr, {280, 288, 48, 24}, "35", nullptr, 0},
    {"StepPauseSaveButton", "QPushButton", nullptr, {344, 288, 48, 24}, "Save", "Calibri", 12},
    {"MotorReverseGroup", "QGroupBox", nullptr, {16, 344, 272, 128}, "Set Motor Reverse", "Calibri", 12},
    {"MotorReverseLabel", "QLabel", "MotorReverseGroup", {16, 16, 248, 48}, "Click the Bottom to Reverse Motor direction", "Calibri", 12},
    {"ReverseXButton", "QPushButton", "MotorReverseGroup", {24, 72, 96, 40}, "X Reverse once", "Calibri", 12},
    {"ReverseYButton", "QPushButton", "MotorReverseGroup", {152, 72, 104, 40}, "Y Reverse once", "Calibri", 12},
    {"CarvedColorGroup", "QGroupBox", nullptr, {312, 344, 280, 128}, "Set The Color have Carved", "Calibri", 12},
    {"CarvedColorLabel", "QLabel", "CarvedColorGroup", {8, 24, 264, 32}, "Set the color that have carved in main window", "Calibri", 12},
    {"CarvedColorPicker", "vexilon::ColourPicker", "CarvedColorGroup", {16, 72, 240, 32}, nullptr, nullptr, 0},
    {"AboutGroup", "QGroupBox", nullptr, {16, 480, 576, 112}, "About", "Calibri", 12},
    {"VersionLabel", "QLabel", "AboutGroup", {40, 32, 160, 32}, "Version: Ver 3.2.1", "Calibri", 21},
    {"DesignNoteLabel", "QLabel", "AboutGroup", {440, 72, 112, 24}, "Whole New Design", "Calibri", 14},
};
// clang-format on

TEST(SettingsWindowLayout, FixedUntitledWindowWithEveryControlAsLaidOut) {
    SettingsWindow window;
    for (const ControlRow& row : kLayout) {
        test_support::expectLaidOut(window, row);
    }
    // The step pause box keeps the toolkit's font.
    EXPECT_EQ(test_support::controlsOf(window).StepPauseBox->font(), QApplication::font());
    EXPECT_EQ(test_support::controlsOf(window).StepPauseBox->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);

    EXPECT_TRUE(window.windowTitle().isEmpty());
    EXPECT_EQ(window.minimumSize(), QSize(613, 612));
    EXPECT_EQ(window.maximumSize(), QSize(613, 612));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(test_support::controlsOf(window).CarvedColorPicker->colourValue(), 255);

    EXPECT_EQ(explanatoryImage().size(), QSize(1199, 512));
    EXPECT_EQ(test_support::controlsOf(window).PhotoPicture->picture().size(), QSize(488, 224));
}

} // namespace
} // namespace vexilon
