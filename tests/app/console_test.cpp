#include "support/qt_environment.h"

#include "app/console.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "control/machine_controls.h"
#include "image/bitmap/ruler_strips.h"
#include "ui/drop_target.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

class ConsoleStartUp : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    fs::path root{scratch.path().toStdString()};
    // Two levels that do not exist yet: a fresh account without ~/.config.
    ConsolePaths paths{root / "config" / "Vexilon", root / "config" / "Vexilon" / "Config.ini",
                       root / "config" / "Vexilon" / "ports", root / "program", root / "dev"};
    ProgramState state;
    MainWindow window;
    // No port anywhere: the scan ends in its message box, which is recorded.
    std::vector<QString> messages;
    std::vector<long> waits;
    Console console{window, state, paths,
                    [this](const QString& text, const QString&) { messages.push_back(text); },
                    [this](std::chrono::milliseconds ms) { waits.push_back(ms.count()); }};

    void SetUp() override { fs::create_directories(paths.programDirectory); }

    void storeSettings(const std::string& text) {
        fs::create_directories(paths.settingsDirectory);
        writeFile(paths.settingsFile, text);
    }
    QString label() const { return window.ui.BurningTimeLabel->text(); }
};

TEST_F(ConsoleStartUp, FirstRunGreetsUsesTheDefaultsAndWritesNothing) {
    console.runStartUp();

    EXPECT_EQ(window.ui.LogBox->toPlainText(),
              QStringLiteral("        Welcome(^_^)\n\n"
                             "Drag the picture to this window to start your engraving\n\n"
                             "Tips:Optimal size of image is 500*500\n\n"
                             "Automatic Connecting...\n"
                             ">Pleas Connect the Machine to Computer with Mini-USB,Then "
                             "Restart this Software.\n\n"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(window.ui.BurningTimeSlider->position(), 60);
    EXPECT_EQ(label(), QStringLiteral("Burning Time: 60"));
    EXPECT_EQ(state.carvedColor, 255);
    EXPECT_TRUE(fs::is_directory(paths.settingsDirectory));
    EXPECT_FALSE(fs::exists(paths.settingsFile));
}

TEST_F(ConsoleStartUp, LeavesOnlyTheConnectionControlsAndTheKeyboardChoiceUsable) {
    window.show();
    console.runStartUp();

    const QList<QWidget*> controls = machineControls(window);
    ASSERT_EQ(controls.size(), 20);
    EXPECT_EQ(controls.first(), window.ui.UpButton);
    EXPECT_EQ(controls.last(), window.ui.ReloadButton);
    for (const QWidget* control : controls) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(window.ui.ConnectButton->isEnabled());
    EXPECT_EQ(window.ui.ConnectButton->text(), QStringLiteral("Connecting"));
    EXPECT_TRUE(window.ui.UseKeyboardCheckBox->isEnabled());
    // The scan found no port and offers the list instead.
    EXPECT_FALSE(window.ui.PortComboBox->isHidden());
    EXPECT_TRUE(window.acceptDrops());
}

TEST_F(ConsoleStartUp, RestoresStoredValuesWithoutRewritingTheFile) {
    const std::string stored =
        "[mainwindow]\r\nBURNING_TIME = 75.9\r\n[Setting]\r\nColor=65280\r\n";
    storeSettings(stored);
    console.runStartUp();

    EXPECT_EQ(window.ui.BurningTimeSlider->position(), 75);
    EXPECT_EQ(label(), QStringLiteral("Burning Time: 75"));
    EXPECT_EQ(state.carvedColor, 65280);
    EXPECT_EQ(fileText(paths.settingsFile), stored);
}

TEST_F(ConsoleStartUp, OutOfRangeAndNonNumericBurningTimesAreKeptAsStored) {
    storeSettings("[MainWindow]\nBurning_time=500\n[Setting]\nColor=abc\n");
    console.runStartUp();
    EXPECT_EQ(window.ui.BurningTimeSlider->position(), 500);
    EXPECT_EQ(window.ui.BurningTimeSlider->value(), 240);
    EXPECT_EQ(label(), QStringLiteral("Burning Time: 500"));
    EXPECT_EQ(state.carvedColor, 0);

    window.show();
    window.close();
    EXPECT_EQ(fileText(paths.settingsFile),
              "[MainWindow]\nBurning_time=500\n[Setting]\nColor=abc\n");
}

TEST_F(ConsoleStartUp, ClosingDeletesThePreviewAndSavesTheSliderPosition) {
    storeSettings("; kept as it is\n[MainWindow]\nBurning_time=75\n");
    const fs::path preview = paths.programDirectory / kPreviewFileName;
    writeFile(preview, "BM");
    console.runStartUp();
    window.ui.BurningTimeSlider->setPosition(131);

    window.show();
    ASSERT_TRUE(window.close());
    EXPECT_FALSE(fs::exists(preview));
    EXPECT_EQ(fileText(paths.settingsFile), "; kept as it is\n[MainWindow]\nBurning_time=131\n");
}

TEST_F(ConsoleStartUp, ClosingAFirstRunCreatesTheBurningTimeItem) {
    console.runStartUp();
    window.show();
    window.close();
    EXPECT_EQ(fileText(paths.settingsFile), "[MainWindow]\nBurning_time=60\n");
}

TEST_F(ConsoleStartUp, ADroppedPictureIsTakenInOnceTheDropIsAnswered) {
    console.runStartUp();
    const fs::path picture = root / "strip.bmp";
    const std::vector<std::uint8_t>& strip = verticalRulerStrip();
    writeFile(picture, std::string(strip.begin(), strip.end()));

    emit window.dropTarget()->filesDropped(QString::fromStdString(picture.string()));
    EXPECT_FALSE(fs::exists(paths.programDirectory / kPreviewFileName));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.ui.LogBox->toPlainText().endsWith(
        ">Original image information:\n>Image resolution:12*512\n"
        ">Image is too large,It has been adjusted to the optimal resolution\n"
        ">Image has been converted to black and white\n\n"));
    EXPECT_EQ(fs::file_size(paths.programDirectory / kPreviewFileName), kPreparedFileSize);
    EXPECT_TRUE(window.ui.SendImageButton->isEnabled());

    // No machine on the line: the upload cannot even erase.
    window.ui.SendImageButton->click();
    EXPECT_TRUE(window.ui.LogBox->toPlainText().endsWith(
        "Erasing Last Image...\n>Sending Failed ! Check the connection to the machine\n\n"));
    EXPECT_TRUE(waits.empty());
    EXPECT_FALSE(window.ui.StartButton->isEnabled());
}

} // namespace
} // namespace vexilon
