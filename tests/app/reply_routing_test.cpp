// The machine's replies as the console handles them: bytes written on the
// machine's end of a pseudo-terminal, effects read off the main window.

#include "app/console_rig.h"
#include "support/window_controls.h"

#include "control/machine_controls.h"
#include "link/serial/serial_channel.h"
#include "support/pseudo_terminal.h"
#include "ui/base/interval_timer.h"

namespace vexilon {
namespace {

struct ReplyRoutingTest : ::testing::Test, test_support::ConsoleRig {
    test_support::PseudoTerminal machine{ports, 1};
    std::size_t handled = 0;

    // Writes the bytes and waits until the console has handled them all.
    void reply(const std::vector<std::uint8_t>& bytes) {
        handled = 0;
        machine.write(bytes);
        ASSERT_TRUE(test_support::waitUntil([&] { return handled == bytes.size(); }));
    }
    QRgb ink(int x, int y) const {
        return test_support::controlsOf(window).PreviewCanvas->inkLayer().pixel(x, y);
    }
    QString boxes() const {
        return test_support::controlsOf(window).XCoordBox->text() + ' ' +
               test_support::controlsOf(window).YCoordBox->text();
    }
    // The boxes follow the reports once a screen frame.
    bool boxesShow(const QString& expected) const {
        return test_support::waitUntil([&] { return boxes() == expected; },
                                       std::chrono::seconds(1));
    }
};

TEST_F(ReplyRoutingTest, EachReplyReachesItsTarget) {
    QObject::connect(&console.port, &SerialChannel::dataArrived, [&](int) { ++handled; });
    ASSERT_TRUE(console.port.open());
    console.features.clock.startTicking();

    state.carvedColour = 0x00FF8000; // blue FF, green 80, red 00
    reply({255, 3, 17, 0, 45});
    EXPECT_EQ(ink(317, 45), qRgb(0x00, 0x80, 0xFF));
    EXPECT_TRUE(boxesShow(QStringLiteral("317 45"))) << boxes().toStdString();

    // The colour is read at each dot: the settings window may change it mid-job.
    state.carvedColour = 0x000000FF;
    reply({255, 0, 5, 0, 9});
    EXPECT_EQ(ink(5, 9), qRgb(0xFF, 0, 0));
    EXPECT_TRUE(boxesShow(QStringLiteral("5 9"))) << boxes().toStdString();

    // Carving stopped stops the clock and paints the last dot once more.
    test_support::controlsOf(window).PreviewCanvas->clear(0, 0, 512, 512);
    reply({102});
    EXPECT_FALSE(window.runTimeTimer()->isRunning());
    EXPECT_EQ(ink(5, 9), qRgb(0xFF, 0, 0));

    reply({110, 101}); // verify OK with no verification pending still connects
    EXPECT_EQ(log(), QStringLiteral("Firmware Version : V3.0.0\nSoftware Version : V3.2.1\n"
                                    ">Verify Success !\n"
                                    ">Successfully Connected to the Engraving Machine at COM0\n"));
    EXPECT_EQ(test_support::controlsOf(window).ConnectButton->text(), QStringLiteral("Connected"));
    EXPECT_TRUE(machineControls(window).front()->isEnabled());
}

} // namespace
} // namespace vexilon
