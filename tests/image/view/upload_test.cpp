#include "image_console_fixture.h"

#include "image/view/image_upload.h"
#include "link/serial/serial_channel.h"
#include "support/pseudo_terminal.h"

#include <QCoreApplication>

#include <chrono>
#include <future>
#include <thread>

namespace vexilon {
namespace {

using namespace std::chrono_literals;

// The upload against a pseudo-terminal standing in for the machine's port.
class UploadTest : public ImageConsoleTest {
protected:
    void SetUp() override {
        channel.setPortNumber(1);
        ASSERT_TRUE(channel.open());
    }
    void hangUpLine() {
        machine.hangUp();
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!channel.isHungUp() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        ASSERT_TRUE(channel.isHungUp());
    }

    test_support::PseudoTerminal machine{dir / "ports", 1};
};

TEST_F(UploadTest, ErasesWaitsThenSendsTheImageTopRowFirstAndOpensTheJobControls) {
    takeIn("wide.bmp", picture(1000, 500, 0, {}));
    log.clear();
    const Bytes expected = imageData(state.imageBitmap);
    auto wire =
        std::async(std::launch::async, [this] { return machine.read(8 + 32830 + 1, 1000); });

    upload.upload();

    Bytes sent(8 + expected.size(), 254);
    std::copy(expected.begin(), expected.end(), sent.begin() + 8);
    EXPECT_EQ(wire.get(), sent);
    QStringList expectedSteps(8, "send 1");
    expectedSteps << "wait 3000"
                  << "send 32830";
    EXPECT_EQ(steps, expectedSteps);
    EXPECT_EQ(log, "----Please wait----\r\nErasing Last Image...\r\nSending New Image...\r\n"
                   "Sending Complete !\r\n\r\n");
    const QStringList shut{"FastForwardButton", "FastBackwardButton", "RecarveButton"};
    EXPECT_EQ(enabledControls().size(), 17);
    EXPECT_FALSE(enabledControls().contains(shut[0]) || enabledControls().contains(shut[1]) ||
                 enabledControls().contains(shut[2]));
    // The prepared image is drawn on the canvas, where the machine's dots go.
    const QImage& ink = ui.PreviewCanvas->inkLayer();
    EXPECT_EQ(ink.pixel(0, 122), qRgb(0, 0, 0));
    EXPECT_EQ(ink.pixel(0, 121), qRgb(255, 255, 255));
}

TEST_F(UploadTest, WithoutAPreparedImageNothingIsSent) {
    ui.StartButton->setEnabled(false);
    const QStringList before = enabledControls();
    upload.upload();
    EXPECT_EQ(messages, (decltype(messages){
                            {"Please drag and drop pictures to a specified location before you "
                             "start carving",
                             "ERROR"}}));
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(enabledControls(), before);
    EXPECT_NE(qAlpha(ui.RightRuler->inkLayer().pixel(11, 0)), 0);
}

TEST_F(UploadTest, AFailedSendSaysSoAndLeavesTheControlsAsTheyWere) {
    takeIn("dot.bmp", picture(1, 1, 0));
    log.clear();

    // The line drops while the machine erases: the image data cannot go.
    duringWait = [this] { hangUpLine(); };
    upload.upload();
    EXPECT_EQ(steps.last(), "send 32830 failed");
    EXPECT_EQ(log, "----Please wait----\r\nErasing Last Image...\r\nSending New Image...\r\n"
                   ">Sending Failed ! Check the connection to the machine\r\n\r\n");
    EXPECT_EQ(enabledControls(), kImageButtons);

    // Already gone: the first erase byte fails, and there is no wait.
    steps.clear();
    log.clear();
    upload.upload();
    EXPECT_EQ(steps, QStringList{"send 1 failed"});
    EXPECT_EQ(log, "----Please wait----\r\nErasing Last Image...\r\n"
                   ">Sending Failed ! Check the connection to the machine\r\n\r\n");
    EXPECT_EQ(enabledControls(), kImageButtons);
}

} // namespace
} // namespace vexilon
