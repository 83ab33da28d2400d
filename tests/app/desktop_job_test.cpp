#include "app/console_rig.h"
#include "support/fake_desktop.h"
#include "support/window_controls.h"

#include "sim/port/simulated_machine.h"
#include "ui/base/interval_timer.h"

#include <QImage>
#include <QPainter>

namespace vexilon {
namespace {

using namespace std::chrono_literals;
using test_support::FakeDesktop;
using test_support::waitUntil;

// A whole job run by the simulated machine, followed on a desktop whose
// services the test plays: the task-bar progress, the finished-job notice and
// the hold on sleep.
TEST(DesktopJob, ProgressNoticeAndSleepHoldFollowAJobOfTheMachine) {
    FakeDesktop::pointSystemBusAtSessionBus();
    FakeDesktop desktop({});
    desktop.startAndWait();
    test_support::ConsoleRig rig{[](std::chrono::milliseconds) {}};
    // At the line's own pace, so that the console can step in mid-job.
    sim::Options line;
    line.port = 1;
    line.pace = sim::Pace::LineRate;
    sim::SimulatedMachine machine(rig.ports, line);
    rig.console.runStartUp();
    ASSERT_TRUE(waitUntil(
        [&] { return test_support::controlsOf(rig.window).ConnectButton->text() == "Connected"; }));

    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    // 1,600 dots in 100 rows: on a loaded machine the pause may come late, and
    // the skip of 15 rows after it must still land inside the picture, or the
    // job would end there and Recarve would carve, and report, a second job.
    QPainter(&picture).fillRect(42, 0, 16, 100, Qt::black);
    const QString file = QString::fromStdString((rig.root / "square.png").string());
    ASSERT_TRUE(picture.save(file));
    rig.console.features.intake.takeIn(file);
    test_support::controlsOf(rig.window).SendImageButton->click();
    JobTracker& tracker = rig.console.features.jobTracker;
    ASSERT_EQ(tracker.progress().total(), 1600);
    EXPECT_EQ(test_support::controlsOf(rig.window).RunTimeLabel->toolTip(), "0 of 1,600 dots (0%)");

    test_support::controlsOf(rig.window).StartButton->click();
    EXPECT_EQ(tracker.sleepHold(), SleepInhibitor::Holder::Logind);
    ASSERT_TRUE(waitUntil([&] { return tracker.progress().done() >= 300; }));
    test_support::controlsOf(rig.window).PauseButton->click();
    EXPECT_TRUE(waitUntil([&] { return !desktop.logindLockHeld(0); }));
    EXPECT_TRUE(test_support::controlsOf(rig.window).RunTimeLabel->toolTip().endsWith(", paused"));

    test_support::controlsOf(rig.window).StartButton->click();
    EXPECT_TRUE(desktop.logindLockHeld(1));
    test_support::controlsOf(rig.window)
        .FastForwardButton->click(); // dots skipped are simply never counted
    test_support::controlsOf(rig.window).RecarveButton->click(); // the count starts again
    EXPECT_LT(tracker.progress().done(), 1600);
    ASSERT_TRUE(waitUntil([&] { return !rig.window.runTimeTimer()->isRunning(); }, 60s));

    EXPECT_EQ(tracker.progress().done(), 1600);
    EXPECT_EQ(test_support::controlsOf(rig.window).RunTimeLabel->toolTip(),
              "1,600 of 1,600 dots (100%), finished");
    EXPECT_TRUE(waitUntil([&] { return !desktop.logindLockHeld(1); }));
    ASSERT_TRUE(waitUntil([&] { return !desktop.notices().empty(); }));
    // The bar goes once the job is done; its update and the notice travel the
    // bus separately.
    EXPECT_TRUE(waitUntil([&] {
        const auto updates = desktop.launcher();
        return !updates.empty() && !updates.back().visible;
    }));
    const auto bar = desktop.launcher();
    EXPECT_TRUE(std::any_of(bar.begin(), bar.end(), [](const auto& update) {
        return update.visible && update.value > 0 && update.value < 1;
    }));
    const auto notices = desktop.notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].body.startsWith("1,600 dots burnt")) << notices[0].body.toStdString();
}

} // namespace
} // namespace vexilon
