#include "support/assembled_console.h"
#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/console.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "settings_window/settings_window_support.h"

#include <QTemporaryDir>
#include <filesystem>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

// Clicks SettingButton and chooses `colour` in the settings window it opens;
// gives the colour the window's picker showed first.
std::int32_t chooseColourInSettings(MainWindow& window, std::int32_t colour) {
    std::int32_t shown = -1;
    test::whenModalOpens<SettingsWindow>([&](SettingsWindow& settings) {
        shown = test_support::controlsOf(settings).CarvedColorPicker->colourValue();
        emit test_support::controlsOf(settings).CarvedColorPicker->colourChanged(colour);
    });
    test_support::controlsOf(window).SettingButton->setEnabled(true);
    QTest::mouseClick(test_support::controlsOf(window).SettingButton, Qt::LeftButton);
    return shown;
}

// Also the wiring: SettingButton opens the settings window, whose colour
// choice becomes the carved colour and goes to the console's settings.
TEST(ConsoleSettings, WithoutAHomeTheSettingsLiveForTheRunAndTheLogSaysSoOnce) {
    QTemporaryDir scratch;
    const fs::path program = scratch.path().toStdString();
    ProgramState state;
    MainWindow window;
    // No port anywhere: the scan's message box is passed over.
    test_support::AssembledConsole console(
        window, state, ConsolePaths{{}, {}, {}, program, program / "no-devices"},
        [](const QString&, const QString&) {});
    console.runStartUp();
    const QString line = QStringLiteral("No home directory: settings are kept for this run only\n");
    EXPECT_EQ(state.carvedColour, 255);

    EXPECT_EQ(chooseColourInSettings(window, 65280), 255);
    EXPECT_EQ(state.carvedColour, 65280);
    EXPECT_EQ(chooseColourInSettings(window, 255), 65280);
    EXPECT_EQ(test_support::controlsOf(window).LogBox->toPlainText().count(line), 1);
    window.show();
    window.close();
    EXPECT_TRUE(fs::is_empty(program));
}

} // namespace
} // namespace vexilon
