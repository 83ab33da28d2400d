#include "console_on_the_line.h"
#include "control/control_events.h"
#include "control/machine_controls.h"
#include "support/window_controls.h"
#include "ui/base/interval_timer.h"

#include <QAbstractButton>

#include <atomic>
#include <set>

namespace vexilon {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class ConsoleMachineControl : public test_support::ConsoleOnTheLine {
protected:
    // The machine controls, by name: the disabled ones or all of them.
    std::set<std::string> disabled(bool all = false) const {
        std::set<std::string> names;
        for (const QWidget* control : machineControls(window)) {
            if (all || !control->isEnabled()) {
                names.insert(control->objectName().toStdString());
            }
        }
        return names;
    }
    std::set<std::string> allControls() const { return disabled(true); }
};

TEST_F(ConsoleMachineControl, EveryJobAndPositioningButtonPutsItsBytesOnTheWire) {
    const auto ui = test_support::controlsOf(window);
    const struct {
        QAbstractButton* button;
        Bytes bytes;
        const char* line;
    } cases[] = {
        {ui.StartButton, {241}, "Start carving\n\n"},
        {ui.PauseButton, {242}, "Engraving Pause !\n\n"},
        {ui.RestartButton, {249}, "Restarting...\n\n"},
        {ui.RecarveButton, {252, 119}, "Recarve\n\n"},
        {ui.FastForwardButton, {252, 170}, "Fast Forward for 15 row\n\n"},
        {ui.FastBackwardButton, {252, 85}, "Fast Backward for 15 row\n\n"},
        {ui.UpButton, {245, 1}, "Laser Movement : Up\n"},
        {ui.DownButton, {245, 2}, "Laser Movement : Down\n"},
        {ui.LeftButton, {245, 3}, "Laser Movement : Left\n"},
        {ui.RightButton, {245, 4}, "Laser Movement : Right\n"},
        {ui.OriginButton, {243}, "To Origin\n\n"},
        {ui.MiddleButton, {251}, "To Middle of Image\n"},
        {ui.CarvingPreviewButton, {244}, "Simulation Carving Area...\n\n"},
    };
    for (const auto& c : cases) {
        const std::string name = c.button->objectName().toStdString();
        applyControlEvent(window, ControlEvent::Verified);
        c.button->click();
        EXPECT_EQ(wire(c.bytes.size()), c.bytes) << name;
        EXPECT_EQ(newLog(), c.line) << name;
    }
    // Nothing more than the commands went out: a marker byte comes next.
    ASSERT_TRUE(console.port.send(std::uint8_t{7}));
    EXPECT_EQ(wire(1), Bytes{7});
}

TEST_F(ConsoleMachineControl, EnabledControlsFollowAWholeJobCycle) {
    const std::set<std::string> carveRate = {"FastBackwardButton", "FastForwardButton",
                                             "RecarveButton"};
    const std::set<std::string> positioning = {"OriginButton", "MiddleButton",
                                               "CarvingPreviewButton"};
    console.runStartUp();
    EXPECT_EQ(disabled(), allControls());

    applyControlEvent(window, ControlEvent::Verified);
    EXPECT_EQ(disabled(), std::set<std::string>{});
    applyControlEvent(window, ControlEvent::PictureTakenIn);
    std::set<std::string> imageButtons = allControls();
    for (const char* name :
         {"SendImageButton", "ClearButton", "ZoomOutButton", "RotateButton", "ReloadButton"}) {
        imageButtons.erase(name);
    }
    EXPECT_EQ(disabled(), imageButtons);
    applyControlEvent(window, ControlEvent::UploadFinished);
    EXPECT_EQ(disabled(), carveRate);

    test_support::controlsOf(window).StartButton->click();
    EXPECT_EQ(disabled(), positioning);
    test_support::controlsOf(window).PauseButton->click();
    EXPECT_EQ(disabled(), positioning);
    test_support::controlsOf(window).StartButton->click();
    test_support::controlsOf(window).RecarveButton->click();
    test_support::controlsOf(window).FastForwardButton->click();
    EXPECT_EQ(disabled(), positioning);

    test_support::controlsOf(window).RestartButton->click();
    EXPECT_EQ(disabled(), std::set<std::string>{});
    EXPECT_EQ(test_support::controlsOf(window).RunTimeLabel->text(),
              QStringLiteral("Run time :  00:00"));
    EXPECT_EQ(test_support::controlsOf(window).XCoordBox->text(), QStringLiteral("000"));
    EXPECT_EQ(test_support::controlsOf(window).YCoordBox->text(), QStringLiteral("000"));

    applyControlEvent(window, ControlEvent::Disconnected);
    EXPECT_EQ(disabled(), allControls());

    // Still usable, but without an X server the arrows are refused silently.
    newLog();
    test_support::controlsOf(window).UseKeyboardCheckBox->click();
    const ArrowHotKeys& keys = console.features.jogging.arrowHotKeys();
    EXPECT_EQ((std::vector{keys.up, keys.down, keys.left, keys.right}), (std::vector{0, 0, 0, 0}));
    console.features.jogging.hotKeyPressed(0); // 0 is no key: it never jogs
    EXPECT_EQ(newLog(), "");
}

TEST_F(ConsoleMachineControl, TheClockRunsFromStartOrRecarveAndOnlyRestartAndRecarveZeroIt) {
    const auto ui = test_support::controlsOf(window);
    IntervalTimer& timer = *window.runTimeTimer();
    const auto ticks = [&](int count) {
        for (int i = 0; i < count; ++i) {
            emit timer.tick();
        }
    };
    const auto clock = [&] { return ui.RunTimeLabel->text().toStdString(); };
    const auto position = [&] { return (ui.XCoordBox->text() + "," + ui.YCoordBox->text()); };

    ui.StartButton->click();
    EXPECT_EQ(timer.intervalMs(), 1000);
    ticks(67);
    ui.PauseButton->click();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(clock(), "Run time :  01:07");
    ui.StartButton->click();
    ticks(1);
    EXPECT_EQ(clock(), "Run time :  01:08");
    ui.StartButton->click(); // running already: no reset
    EXPECT_TRUE(timer.isRunning());
    EXPECT_EQ(console.features.clock.elapsedSeconds(), 68);

    ui.XCoordBox->setText(QStringLiteral("317"));
    ui.FastForwardButton->click();
    ui.FastBackwardButton->click();
    EXPECT_TRUE(timer.isRunning());
    EXPECT_EQ(console.features.clock.elapsedSeconds(), 68);
    EXPECT_EQ(position(), QStringLiteral("317,000"));

    ui.RestartButton->click();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(position(), QStringLiteral("000,000"));
    ui.XCoordBox->setText(QStringLiteral("45"));
    ui.RecarveButton->click(); // on a stopped clock, after a report came in
    EXPECT_TRUE(timer.isRunning());
    EXPECT_EQ(clock(), "Run time :  00:00");
    ticks(1);
    EXPECT_EQ(clock(), "Run time :  00:01");
    EXPECT_EQ(position(), QStringLiteral("45,000"));
}

TEST_F(ConsoleMachineControl, AJogBlocksTheWindowThreadAndRepliesWaitTheirTurn) {
    std::vector<int> raised;
    bool raisedDuringJog = false;
    bool jogging = false;
    QObject::connect(&console.port, &SerialChannel::dataArrived, [&](int byte) {
        raised.push_back(byte);
        raisedDuringJog |= jogging;
    });

    // Replies already waiting when the click comes, and more that the machine
    // sends while the jog runs.
    machine.write(Bytes{255, 3, 17});
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (console.port.pendingEventCount() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield(); // the watcher queues them; nothing raises them
    }
    ASSERT_EQ(console.port.pendingEventCount(), 3u);
    std::atomic<bool> answered = false;
    std::thread answer([&] {
        if (machine.read(2) == Bytes{245, 4}) {
            machine.write(Bytes{0, 45, 102});
            answered = true;
        }
    });

    jogging = true;
    const auto clicked = std::chrono::steady_clock::now();
    test_support::controlsOf(window).RightButton->click();
    const auto returned = std::chrono::steady_clock::now();
    jogging = false;
    answer.join();

    EXPECT_GE(returned - clicked, 50ms);
    EXPECT_TRUE(answered);
    EXPECT_FALSE(raisedDuringJog);
    ASSERT_TRUE(test_support::waitUntil([&] { return raised.size() >= 6; }));
    EXPECT_EQ(raised, (std::vector<int>{255, 3, 17, 0, 45, 102}));
}

} // namespace
} // namespace vexilon
