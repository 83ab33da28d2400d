#include "support/assembled_console.h"
#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/console.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "settings_window/settings_window_support.h"

#include "image/decode/sample_picture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
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

// A mode in the settings file applies from the first picture; a choice from
// the preview's context menu is applied, logged and written, item by item.
TEST(ConsoleSettings, ThePictureModeComesFromTheFileAndTheMenuWritesOnlyWhatChanged) {
    QTemporaryDir scratch;
    const fs::path root = scratch.path().toStdString();
    fs::create_directories(root / "config");
    const std::string before = "[Setting]\r\nPicture_mode=ORDERED\r\nBrightness=250\r\n"
                               "Contrast=junk\r\nInvert=1\r\n";
    samples::writeFile(root / "config" / "Config.ini",
                       samples::Bytes(before.begin(), before.end()));
    ProgramState state;
    MainWindow window;
    test_support::AssembledConsole console(window, state,
                                           ConsolePaths{root / "config",
                                                        root / "config" / "Config.ini",
                                                        root / "ports", root, root / "no-devices"},
                                           [](const QString&, const QString&) {});
    console.runStartUp();
    const PictureMode fromFile{
        .conversion = Conversion::Ordered, .brightness = 100, .invert = true};
    EXPECT_EQ(state.pictureMode, fromFile);
    EXPECT_EQ(console.features.pictureModeMenu.mode(), fromFile);

    auto* view = test_support::controlsOf(window).PreviewPicture;
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(30, 40),
                            view->mapToGlobal(QPoint(30, 40)));
    QCoreApplication::sendEvent(view, &click);
    QMenu& menu = console.features.pictureModeMenu.menu();
    EXPECT_TRUE(menu.isVisible());
    QAction* diffusion = nullptr;
    for (QAction* action : menu.actions()) {
        if (action->text() == QStringLiteral("Floyd-Steinberg")) {
            diffusion = action;
        }
        EXPECT_EQ(action->isChecked(), action->text() == QStringLiteral("Ordered 8 x 8") ||
                                           action->text() == QStringLiteral("Invert"))
            << action->text().toStdString();
    }
    ASSERT_NE(diffusion, nullptr);
    diffusion->trigger();
    menu.hide();

    EXPECT_EQ(state.pictureMode.conversion, Conversion::FloydSteinberg);
    EXPECT_TRUE(test_support::controlsOf(window).LogBox->toPlainText().contains(
        QStringLiteral(">Picture mode: Floyd-Steinberg, brightness +100, contrast 0, inverted")));
    const samples::Bytes after = samples::readFile(root / "config" / "Config.ini");
    EXPECT_EQ(std::string(after.begin(), after.end()),
              "[Setting]\r\nPicture_mode=floyd-steinberg\r\nBrightness=250\r\n"
              "Contrast=junk\r\nInvert=1\r\n");
}

} // namespace
} // namespace vexilon
