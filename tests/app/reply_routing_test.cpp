// The machine's replies as the console handles them: bytes written on the
// machine's end of a pseudo-terminal, effects read off the main window.

#include "app/console_rig.h"

#include "control/machine_controls.h"
#include "link/serial_channel.h"
#include "support/pseudo_terminal.h"
#include "ui/interval_timer.h"

namespace vexilon {
namespace {

using test_support::waitUntil;

class ReplyRoutingTest : public ::testing::Test, protected test_support::ConsoleRig {
protected:
    void SetUp() override {
        state.carvedColor = 0x00FF8000; // blue FF, green 80, red 00
        console.serialPort().setPortNumber(1);
        ASSERT_TRUE(console.serialPort().open());
    }
    // Writes the bytes and waits until the console has handled them all.
    void reply(const std::vector<std::uint8_t>& bytes) {
        handled = 0;
        machine.write(bytes);
        ASSERT_TRUE(waitUntil([&] { return handled == bytes.size(); }));
    }
    QRgb ink(int x, int y) const { return window.ui.PreviewCanvas->inkLayer().pixel(x, y); }
    std::pair<QString, QString> boxes() const {
        return {window.ui.XCoordBox->text(), window.ui.YCoordBox->text()};
    }

    test_support::PseudoTerminal machine{ports, 1};
    std::size_t handled = 0;
    QMetaObject::Connection counter = QObject::connect(
        &console.serialPort(), &SerialChannel::dataArrived, [this](int) { ++handled; });
};

TEST_F(ReplyRoutingTest, ReportsPaintTheDotInTheColourOfTheMomentAndFillTheBoxes) {
    reply({255, 3, 17, 0, 45});
    EXPECT_EQ(ink(317, 45), qRgb(0x00, 0x80, 0xFF));
    EXPECT_EQ(boxes(), std::pair(QStringLiteral("317"), QStringLiteral("45")));

    state.carvedColor = 0x000000FF; // changed in the settings window mid-job
    reply({255, 0, 5, 0, 9});
    EXPECT_EQ(ink(5, 9), qRgb(0xFF, 0, 0));
    EXPECT_EQ(ink(317, 45), qRgb(0x00, 0x80, 0xFF));
    EXPECT_EQ(boxes(), std::pair(QStringLiteral("5"), QStringLiteral("9")));

    // Off the canvas: the boxes show it, no pixel changes.
    const QImage before = window.ui.PreviewCanvas->inkLayer();
    reply({255, 100, 100, 5, 12});
    EXPECT_EQ(boxes(), std::pair(QStringLiteral("10100"), QStringLiteral("512")));
    EXPECT_EQ(window.ui.PreviewCanvas->inkLayer(), before);
}

TEST_F(ReplyRoutingTest, CarvingStoppedStopsTheClockAndRepaintsTheLastDot) {
    console.runTimeClock().startTicking();
    reply({255, 0, 7, 0, 8});
    window.ui.PreviewCanvas->clear(0, 0, 512, 512);
    state.carvedColor = 0x0000FF00;
    reply({102});
    EXPECT_FALSE(window.runTimeTimer()->isRunning());
    EXPECT_EQ(ink(7, 8), qRgb(0, 0xFF, 0));
}

TEST_F(ReplyRoutingTest, VersionReportAndUnaskedVerifyOkAreActedOn) {
    reply({110});
    EXPECT_EQ(log(), QStringLiteral("Firmware Version : V3.0.0\nSoftware Version : V3.2.1\n"));
    reply({101}); // no verification pending: it still connects
    EXPECT_TRUE(log().endsWith(QStringLiteral(
        ">Verify Success !\n>Successfully Connected to the Engraving Machine at COM0\n")));
    EXPECT_EQ(window.ui.ConnectButton->text(), QStringLiteral("Connected"));
    EXPECT_TRUE(machineControls(window).front()->isEnabled());
}

} // namespace
} // namespace vexilon
