// The connection end to end: the console's own wiring over pseudo-terminals,
// with the simulated machine in-process.

#include "app/console_rig.h"

#include "control/machine_controls.h"
#include "link/serial/serial_channel.h"
#include "sim/port/simulated_machine.h"
#include "support/pseudo_terminal.h"
#include "ui/base/interval_timer.h"

#include <QEventLoop>
#include <QTimer>

#include <ctime>
#include <fstream>
#include <memory>

namespace vexilon {
namespace {

using namespace std::chrono_literals;
using test_support::waitUntil;

const QString kGreeting = QStringLiteral(
    "        Welcome(^_^)\n\nDrag the picture to this window to start your engraving\n\n"
    "Tips:Optimal size of image is 500*500\n\nAutomatic Connecting...\n");
QString found(int n) {
    return QStringLiteral(">Findding COM%1 is Available\n>Connected and Verifing...\n").arg(n);
}
QString failed(int n) {
    return QStringLiteral(">Verify Failed \uFF01 Engraving Machine is not On COM %1\n").arg(n);
}
QString failedAndNext(int n) {
    return failed(n) + QStringLiteral(">Findding Next Available Port...\n\n");
}
QString success(int n) {
    return QStringLiteral(
               ">Verify Success !\n>Successfully Connected to the Engraving Machine at COM%1\n")
        .arg(n);
}
QString manualAttempt(int n) {
    return QStringLiteral("Connecting...\nConnected to COM%1\nVerifing...\n").arg(n);
}
QString manualFailure(const QString& cause) {
    return QStringLiteral(
               "Connecting...\n>Connection Failed !\n>Change Anyother Port and Try "
               "Again\n>Also You Can Restart the Softwear try Automatic Connection\n\n") +
           cause + QStringLiteral("\n\n");
}

struct ConnectionScenario : ::testing::Test, test_support::ConsoleRig {
    const test_support::MainWindowControls ui{window};

    std::unique_ptr<sim::SimulatedMachine> machineOn(int port, sim::Faults faults = {}) {
        return std::make_unique<sim::SimulatedMachine>(
            ports, sim::Options{.port = port, .faults = faults});
    }
    bool connected() { return ui.ConnectButton->text() == QStringLiteral("Connected"); }
    bool controlsEnabled(bool enabled) {
        const auto controls = machineControls(window);
        return std::all_of(controls.begin(), controls.end(),
                           [&](const QWidget* c) { return c->isEnabled() == enabled; });
    }
    void clickConnect(int entry) {
        ui.PortComboBox->setCurrentIndex(entry);
        ui.ConnectButton->click();
    }
    // Connected by hand, then carving an all-black image handed to the machine.
    void startJobOn(sim::SimulatedMachine& machine, int port) {
        clickConnect(port);
        ASSERT_TRUE(waitUntil([&] { return connected(); }));
        sim::DotImage black;
        for (int at = 0; at < 512 * 512; ++at) {
            black.setDot(at % 512, at / 512, true);
        }
        machine.carve(black);
        console.features.clock.startTicking();
        ASSERT_TRUE(waitUntil([&] { return ui.XCoordBox->text() != QStringLiteral("000"); }));
    }
    void expectDropped(const QString& lastLine) {
        EXPECT_TRUE(log().endsWith(lastLine)) << log().right(80).toStdString();
        EXPECT_FALSE(console.port.isOpen());
        EXPECT_EQ(ui.ConnectButton->text(), QStringLiteral("Connect"));
        EXPECT_TRUE(ui.ConnectButton->isEnabled() && controlsEnabled(false));
        EXPECT_TRUE(!ui.PortComboBox->isHidden() && ui.DisconnectButton->isHidden());
        EXPECT_TRUE(window.runTimeTimer()->isRunning()); // the clock is left alone
    }
};

TEST_F(ConnectionScenario, MachineOnCom3WithNothingBelowIsFoundAndVerified) {
    auto machine = machineOn(3);
    console.runStartUp();
    // Numbers 0 to 2 fail silently; the answer is handled after start-up.
    EXPECT_EQ(log(), kGreeting + found(3));
    EXPECT_TRUE(!ui.ConnectButton->isEnabled() && ui.DisconnectButton->isHidden());
    EXPECT_TRUE(!ui.PortComboBox->isHidden() && window.verifyTimer()->isRunning());

    ASSERT_TRUE(waitUntil([&] { return connected(); }));
    EXPECT_EQ(log(), kGreeting + found(3) + success(3));
    EXPECT_TRUE(!ui.ConnectButton->isEnabled() && !ui.DisconnectButton->isHidden());
    EXPECT_TRUE(ui.PortComboBox->isHidden() && controlsEnabled(true));
    EXPECT_EQ(ui.PortComboBox->currentText(), QStringLiteral("COM3"));
    EXPECT_FALSE(window.verifyTimer()->isRunning());
    EXPECT_EQ(machine->received(), std::vector<std::uint8_t>{246});
}

TEST_F(ConnectionScenario, SilentCom1IsTriedAsNumbersZeroAndOneBeforeTheMachineOnCom4) {
    test_support::PseudoTerminal silent(ports, 1);
    auto machine = machineOn(4);
    console.runStartUp();
    ASSERT_TRUE(waitUntil([&] { return connected(); }));
    EXPECT_EQ(log(), kGreeting + found(0) + failedAndNext(0) + found(1) + failedAndNext(1) +
                         found(4) + success(4));
    EXPECT_EQ(silent.read(2, 200), (std::vector<std::uint8_t>{246, 246}));
}

// Together with the next test this pins both ends of the scan: 32 is the last
// number tried from start-up, 33 is still tried after a failure on 32.
TEST_F(ConnectionScenario, NoPortUpTo32EndsTheScanWithAMessageBeforeTheSettings) {
    test_support::PseudoTerminal beyondTheList(ports, 33);
    std::filesystem::create_directories(paths.settingsDirectory);
    std::ofstream(paths.settingsFile) << "[MainWindow]\nBurning_time=75\n";
    console.runStartUp();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              QStringLiteral("Automatic Connection Failed ! No Port is Available"));
    EXPECT_EQ(messages[0].caption, QStringLiteral("Information"));
    EXPECT_NE(messages[0].sliderPosition, 75);
    EXPECT_EQ(log(), kGreeting + QStringLiteral(">Pleas Connect the Machine to Computer with "
                                                "Mini-USB,Then Restart this Software.\n\n"));
    EXPECT_EQ(console.features.connection.currentPortNumber(), 33);
    EXPECT_TRUE(!ui.PortComboBox->isHidden() && ui.DisconnectButton->isHidden());
    EXPECT_EQ(ui.ConnectButton->text(), QStringLiteral("Connecting"));
    EXPECT_TRUE(ui.ConnectButton->isEnabled());
    EXPECT_TRUE(beyondTheList.read(1, 100).empty());
}

TEST_F(ConnectionScenario, FailedVerificationOn32ResumesTheScanAt33) {
    test_support::PseudoTerminal silent(ports, 32);
    auto machine = machineOn(33);
    console.runStartUp();
    ASSERT_TRUE(waitUntil([&] { return connected(); }));
    EXPECT_EQ(log(), kGreeting + found(32) + failedAndNext(32) + found(33) + success(33));
}

TEST_F(ConnectionScenario, ManualConnectionNamesWhyAPortDidNotOpen) {
    auto machine = machineOn(5);
    SerialChannel other(ports);
    other.setPortNumber(5);
    ASSERT_TRUE(other.open());
    clickConnect(6); // nothing there
    clickConnect(5); // held by another program
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, QStringLiteral("This Port is Not Available"));
    EXPECT_EQ(messages[1].caption, QStringLiteral("ERROR"));
    const QString failures = manualFailure(QStringLiteral(">No device is behind COM6")) +
                             manualFailure(QStringLiteral(">COM5 is held by another program"));
    EXPECT_EQ(log(), failures);

    other.close();
    clickConnect(5);
    EXPECT_EQ(log(), failures + manualAttempt(5));
    EXPECT_TRUE(ui.PortComboBox->isHidden() && ui.ConnectButton->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return connected(); }));
    EXPECT_EQ(log(), failures + manualAttempt(5) + success(5));
}

TEST_F(ConnectionScenario, SecondClickWhileVerifyingKeepsTheFirstDeadline) {
    auto machine = machineOn(2, {.neverAnswerVerify = true});
    const auto first = std::chrono::steady_clock::now();
    clickConnect(2);
    waitUntil([&] { return std::chrono::steady_clock::now() >= first + 800ms; });
    const auto second = std::chrono::steady_clock::now();
    ui.ConnectButton->click();

    ASSERT_TRUE(waitUntil([&] { return log().endsWith(failed(2)); }));
    const auto end = std::chrono::steady_clock::now();
    EXPECT_GE(end - first, 1000ms);
    EXPECT_LT(end - second, 1000ms); // a restarted timer could not have ended yet
    EXPECT_EQ(log(), manualAttempt(2) + manualAttempt(2) + failed(2));
    EXPECT_EQ(machine->received(), (std::vector<std::uint8_t>{246, 246}));
    // Manual mode: no scan follows, and another port can be chosen.
    EXPECT_TRUE(!console.port.isOpen() && !ui.PortComboBox->isHidden());
    EXPECT_EQ(ui.ConnectButton->text(), QStringLiteral("Connecting"));
    EXPECT_TRUE(ui.ConnectButton->isEnabled() && !window.verifyTimer()->isRunning());
}

TEST_F(ConnectionScenario, BreakAndPulledCableMidJobLeaveTheClockAndTheConsoleIdle) {
    auto machine = machineOn(3);
    startJobOn(*machine, 3);
    ui.DisconnectButton->click();
    expectDropped(QStringLiteral("Disconnected Connection\n\n"));

    auto unplugged = machineOn(4, {.hangUpAfterDots = 3000});
    startJobOn(*unplugged, 4);
    const QString lost = QStringLiteral(">Connection Lost ! COM4\n");
    ASSERT_TRUE(waitUntil([&] { return log().endsWith(lost); }));
    expectDropped(lost);

    // A second of the event loop with the machine gone: nothing may spin.
    timespec before{}, after{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &before);
    QEventLoop idle;
    QTimer::singleShot(1000, &idle, &QEventLoop::quit);
    idle.exec();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &after);
    const double used = static_cast<double>(after.tv_sec - before.tv_sec) +
                        static_cast<double>(after.tv_nsec - before.tv_nsec) / 1e9;
    RecordProperty("cpu_seconds_in_the_second_after_hang_up", std::to_string(used));
    EXPECT_LT(used, 0.1);
}

} // namespace
} // namespace vexilon
