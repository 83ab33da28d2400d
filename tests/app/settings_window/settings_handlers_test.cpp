#include "support/pseudo_terminal.h"
#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/settings/settings_file.h"
#include "app/settings/settings_store.h"
#include "app/settings/temporary_directory.h"
#include "app/settings_window/settings_handlers.h"
#include "link/serial/serial_channel.h"
#include "settings_window_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

namespace vexilon {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::pair<QString, QString> kSaved{QStringLiteral("Saved ! don't need save every time"),
                                         QStringLiteral("Info")};

// The settings window with its handlers, wired to a serial channel on a
// pseudo-terminal that plays the machine's end of the line.
class SettingsHandlersTest : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    fs::path root{scratch.path().toStdString()};
    fs::path file = root / "Config.ini";
    SettingsStore settings{file};
    test_support::PseudoTerminal machine{root / "ports", 1};
    SerialChannel channel{root / "ports"};
    SettingsWindow window;

    std::vector<std::pair<QString, QString>> messages;
    std::vector<Bytes> receivedByMessage; // what the machine had got when each message showed
    std::vector<bool> sendResults;
    std::vector<std::int32_t> carvedColours;
    QString log;

    void SetUp() override { ASSERT_TRUE(channel.open()); }

    void create() {
        new SettingsHandlers(window.controls(),
                             {{[this](const QString& text) { log += text; },
                               [this](const QString& text, const QString& caption) {
                                   messages.emplace_back(text, caption);
                                   receivedByMessage.push_back(channel.isOpen() ? machine.read(2)
                                                                                : Bytes{});
                               },
                               [this](std::span<const std::uint8_t> bytes) {
                                   const bool sent = channel.send(bytes);
                                   sendResults.push_back(sent);
                                   return sent;
                               },
                               {}},
                              [this](std::int32_t colour) { carvedColours.push_back(colour); },
                              &settings},
                             &window);
    }

    std::string stored(const char* key) { return readSettingsItem(file, "Setting", key, "-"); }
};

TEST_F(SettingsHandlersTest, ReverseButtonsSendTheAxisThenConfirmAndAColourIsOnlyStored) {
    create();
    // The colour is set and stored silently: no message, nothing to the
    // machine (the next bytes it gets are the reversal's).
    test::chooseInPalette(test_support::controlsOf(window).CarvedColorPicker, Qt::blue);
    EXPECT_EQ(carvedColours, std::vector<std::int32_t>{16711680});
    QTest::mouseClick(test_support::controlsOf(window).ReverseXButton, Qt::LeftButton);
    QTest::mouseClick(test_support::controlsOf(window).ReverseXButton, Qt::LeftButton);
    QTest::mouseClick(test_support::controlsOf(window).ReverseYButton, Qt::LeftButton);

    EXPECT_EQ(receivedByMessage, (std::vector<Bytes>{{247, 1}, {247, 1}, {247, 2}}));
    EXPECT_EQ(messages, (std::vector{kSaved, kSaved, kSaved}));
    EXPECT_EQ(test::readBytes(file), "[Setting]\nColor=16711680\n");
}

TEST_F(SettingsHandlersTest, SaveSendsTheLowByteAndStoresTheTextUnchanged) {
    create();
    const std::pair<const char*, std::uint8_t> cases[] = {
        {"35", 35}, {"300", 44}, {"-1", 255}, {"", 0}, {"-", 0}};
    for (auto [text, value] : cases) {
        SCOPED_TRACE(text);
        messages.clear();
        receivedByMessage.clear();
        test_support::controlsOf(window).StepPauseBox->setText(QString::fromLatin1(text));
        QTest::mouseClick(test_support::controlsOf(window).StepPauseSaveButton, Qt::LeftButton);
        EXPECT_EQ(receivedByMessage, std::vector<Bytes>{Bytes({250, value})});
        EXPECT_EQ(messages, std::vector{kSaved});
        EXPECT_EQ(stored("Motor"), text);
    }
}

// Stored values are shown by the opening test (open_settings_window_test.cpp).
TEST_F(SettingsHandlersTest, WithoutAFileTheDefaultsShowAndNothingIsWritten) {
    test_support::controlsOf(window).StepPauseBox->setText(QStringLiteral("7"));
    create();
    EXPECT_EQ(test_support::controlsOf(window).StepPauseBox->text(), QStringLiteral("35"));
    EXPECT_EQ(test_support::controlsOf(window).CarvedColorPicker->colourValue(), 255);
    EXPECT_FALSE(fs::exists(file));
}

// Every action tries its sends, tells the failure instead of "Saved", and
// still stores the text.
void expectFailuresTold(SettingsWindow& window, const std::vector<bool>& sendResults,
                        const std::vector<std::pair<QString, QString>>& messages,
                        const QString& log) {
    const QString failed =
        QStringLiteral(">Sending Failed ! Check the connection to the machine\r\n\r\n");
    test_support::controlsOf(window).StepPauseBox->setText(QStringLiteral("300"));
    QTest::mouseClick(test_support::controlsOf(window).StepPauseSaveButton, Qt::LeftButton);
    QTest::mouseClick(test_support::controlsOf(window).ReverseYButton, Qt::LeftButton);
    QTest::mouseClick(test_support::controlsOf(window).ReverseXButton, Qt::LeftButton);
    EXPECT_EQ(sendResults, std::vector<bool>(6, false));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(log, failed + failed + failed);
}

TEST_F(SettingsHandlersTest, WithThePortClosedNothingIsConfirmed) {
    channel.close();
    create();
    expectFailuresTold(window, sendResults, messages, log);
    EXPECT_EQ(stored("Motor"), "300");
}

TEST_F(SettingsHandlersTest, AfterAHangUpWhileOpenNothingIsConfirmed) {
    create();
    machine.hangUp();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!channel.isHungUp() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    expectFailuresTold(window, sendResults, messages, log);
    EXPECT_EQ(stored("Motor"), "300");
}

} // namespace
} // namespace vexilon
