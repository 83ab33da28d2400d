#include "support/assembled_console.h"
#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/console.h"
#include "app/program_state.h"
#include "app/settings/temporary_directory.h"
#include "app/window/main_window.h"
#include "control/machine_controls.h"
#include "image/pipeline/prepared_image.h"

#include <QTemporaryDir>
#include <filesystem>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

using test::readBytes;
using test::writeBytes;

class ConsoleStartUp : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    fs::path root{scratch.path().toStdString()};
    // Two levels that do not exist yet: a fresh account without ~/.config.
    ConsolePaths paths{root / "config" / "Vexilon", root / "config" / "Vexilon" / "Config.ini",
                       root / "config" / "Vexilon" / "ports", root / "program", root / "dev"};
    ProgramState state;
    MainWindow window;
    // No port anywhere: the scan ends in its message box, which is passed over.
    test_support::AssembledConsole console{window, state, paths,
                                           [](const QString&, const QString&) {}};

    void SetUp() override { fs::create_directories(paths.programDirectory); }

    void storeSettings(const std::string& text) {
        fs::create_directories(paths.settingsDirectory);
        writeBytes(paths.settingsFile, text);
    }
    QString label() const { return test_support::controlsOf(window).BurningTimeLabel->text(); }
};

// The greeting, the scan's message box and the connection controls are
// followed in tests/app/connection_test.cpp.
TEST_F(ConsoleStartUp, FirstRunUsesTheDefaultsWritesNothingAndClosingStoresTheBurningTime) {
    window.show();
    console.runStartUp();
    EXPECT_EQ(test_support::controlsOf(window).BurningTimeSlider->position(), 60);
    EXPECT_EQ(label(), QStringLiteral("Burning Time: 60"));
    EXPECT_EQ(state.carvedColour, 255);
    EXPECT_TRUE(fs::is_directory(paths.settingsDirectory));
    EXPECT_FALSE(fs::exists(paths.settingsFile));

    // Only the connection controls, the keyboard choice and drops are usable.
    const QList<QWidget*> controls = machineControls(window);
    ASSERT_EQ(controls.size(), 20);
    EXPECT_EQ(controls.first(), test_support::controlsOf(window).UpButton);
    EXPECT_EQ(controls.last(), test_support::controlsOf(window).ReloadButton);
    for (const QWidget* control : controls) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(test_support::controlsOf(window).UseKeyboardCheckBox->isEnabled());
    EXPECT_TRUE(window.acceptDrops());

    window.close();
    EXPECT_EQ(readBytes(paths.settingsFile), "[MainWindow]\nBurning_time=60\n");
}

TEST_F(ConsoleStartUp, RestoresStoredValuesWithoutRewritingTheFile) {
    const std::string stored =
        "[mainwindow]\r\nBURNING_TIME = 75.9\r\n[Setting]\r\nColor=65280\r\n";
    storeSettings(stored);
    console.runStartUp();

    EXPECT_EQ(test_support::controlsOf(window).BurningTimeSlider->position(), 75);
    EXPECT_EQ(label(), QStringLiteral("Burning Time: 75"));
    EXPECT_EQ(state.carvedColour, 65280);
    EXPECT_EQ(readBytes(paths.settingsFile), stored);
}

TEST_F(ConsoleStartUp, OutOfRangeAndNonNumericBurningTimesAreKeptAsStored) {
    storeSettings("[MainWindow]\nBurning_time=500\n[Setting]\nColor=abc\n");
    console.runStartUp();
    EXPECT_EQ(test_support::controlsOf(window).BurningTimeSlider->position(), 500);
    EXPECT_EQ(test_support::controlsOf(window).BurningTimeSlider->value(), 240);
    EXPECT_EQ(label(), QStringLiteral("Burning Time: 500"));
    EXPECT_EQ(state.carvedColour, 0);

    window.show();
    window.close();
    EXPECT_EQ(readBytes(paths.settingsFile),
              "[MainWindow]\nBurning_time=500\n[Setting]\nColor=abc\n");
}

TEST_F(ConsoleStartUp, ClosingDeletesThePreviewAndSavesTheSliderPosition) {
    storeSettings("; kept as it is\n[MainWindow]\nBurning_time=75\n");
    const fs::path preview = paths.programDirectory / kPreviewFileName;
    writeBytes(preview, "BM");
    console.runStartUp();
    test_support::controlsOf(window).BurningTimeSlider->setPosition(131);

    window.show();
    ASSERT_TRUE(window.close());
    EXPECT_FALSE(fs::exists(preview));
    EXPECT_EQ(readBytes(paths.settingsFile), "; kept as it is\n[MainWindow]\nBurning_time=131\n");
}

} // namespace
} // namespace vexilon
