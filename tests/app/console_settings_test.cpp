#include "support/qt_environment.h"

#include "app/console.h"
#include "app/program_state.h"
#include "app/settings/settings_file.h"
#include "app/settings_window/settings_window.h"
#include "app/window/main_window.h"
#include "settings_window/settings_window_support.h"

#include <QTemporaryDir>
#include <filesystem>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

// Clicks SettingButton and, in the settings window it opens, chooses the
// colour; gives what the window showed for the step pause and colour.
std::pair<QString, std::int32_t> chooseColourInSettings(MainWindow& window, std::int32_t color) {
    std::pair<QString, std::int32_t> shown;
    test::whenModalOpens<SettingsWindow>([&](SettingsWindow& settings) {
        shown = {settings.ui.StepPauseBox->text(), settings.ui.CarvedColorPicker->colorValue()};
        emit settings.ui.CarvedColorPicker->colorChanged(color);
    });
    window.ui.SettingButton->setEnabled(true);
    QTest::mouseClick(window.ui.SettingButton, Qt::LeftButton);
    return shown;
}

TEST(ConsoleSettings, SettingButtonOpensTheWindowWhoseColourBecomesTheCarvedColour) {
    QTemporaryDir scratch;
    const fs::path root = scratch.path().toStdString();
    const ConsolePaths paths{root, root / "Config.ini", root / "ports", root};
    ASSERT_TRUE(writeSettingsItem(paths.settingsFile, "Setting", "Motor", "40"));
    ProgramState state;
    MainWindow window;
    Console console(window, state, paths);
    console.runStartUp();
    EXPECT_EQ(state.carvedColor, 255);

    EXPECT_EQ(chooseColourInSettings(window, 16711680), std::pair(QStringLiteral("40"), 255));
    EXPECT_EQ(state.carvedColor, 16711680);
    EXPECT_EQ(readSettingsItem(paths.settingsFile, "Setting", "Color", ""), "16711680");
}

TEST(ConsoleSettings, WithoutAHomeTheSettingsLiveForTheRunAndTheLogSaysSoOnce) {
    QTemporaryDir scratch;
    const fs::path program = scratch.path().toStdString();
    ProgramState state;
    MainWindow window;
    Console console(window, state, ConsolePaths{{}, {}, {}, program});
    console.runStartUp();
    const QString line = QStringLiteral("No home directory: settings are kept for this run only\n");
    EXPECT_EQ(window.ui.LogBox->toPlainText().count(line), 1);
    EXPECT_EQ(state.carvedColor, 255);

    chooseColourInSettings(window, 65280);
    EXPECT_EQ(state.carvedColor, 65280);
    EXPECT_EQ(chooseColourInSettings(window, 255).second, 65280);
    EXPECT_EQ(window.ui.LogBox->toPlainText().count(line), 1);
    window.show();
    window.close();
    EXPECT_TRUE(fs::is_empty(program));
}

} // namespace
} // namespace vexilon
