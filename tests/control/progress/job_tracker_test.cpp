#include "support/fake_desktop.h"
#include "support/qt_environment.h"

#include "control/progress/job_tracker.h"

#include <QLabel>

#include <chrono>

namespace vexilon {
namespace {

using test_support::FakeDesktop;
using Holder = SleepInhibitor::Holder;

template <class Condition> bool eventually(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

class JobTrackerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FakeDesktop::pointSystemBusAtSessionBus(); }

    QLabel label;
    std::int64_t seconds = 0;
    JobTracker tracker{label, [this] { return seconds; }};

    QString tip() const { return label.toolTip(); }
};

// The hold on sleep through Pause and Start, and the notice, are followed
// through a job of the simulated machine in tests/app/desktop_job_test.cpp.
TEST_F(JobTrackerTest, TipBarAndNoticeFollowTheCount) {
    FakeDesktop desktop({});
    desktop.startAndWait();

    tracker.imageUploaded(4);
    EXPECT_EQ(tip(), "0 of 4 dots (0%)");
    EXPECT_EQ(tracker.sleepHold(), Holder::None);

    tracker.started();
    tracker.dotReported(1, 1);
    tracker.dotReported(1, 1); // the same dot again counts once
    seconds = 20;              // a dot in 20 s, three to go
    tracker.refresh();
    EXPECT_EQ(tip(), "1 of 4 dots (25%), about 1 min left");
    ASSERT_TRUE(eventually([&] {
        const auto bar = desktop.launcher();
        return !bar.empty() && bar.back().visible && bar.back().value == 0.25;
    }));
    tracker.paused();
    EXPECT_EQ(tip(), "1 of 4 dots (25%), paused");

    tracker.started();
    tracker.recarved(); // the count starts again, carving and its hold go on
    EXPECT_EQ(tracker.progress().done(), 0);
    EXPECT_TRUE(desktop.logindLockHeld(1));
    for (int x = 0; x < 4; ++x) {
        tracker.dotReported(x, 0);
    }
    tracker.carvingStopped();
    tracker.carvingStopped(); // a second stop without a new Start says nothing more
    EXPECT_EQ(tip(), "4 of 4 dots (100%), finished");
    ASSERT_TRUE(eventually([&] { return !desktop.notices().empty(); }));
    EXPECT_TRUE(eventually([&] { return !desktop.launcher().back().visible; }));
    const auto notices = desktop.notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].summary, "Carving finished");
    EXPECT_EQ(notices[0].body, "4 dots burnt, run time 00:20");
}

TEST_F(JobTrackerTest, EveryWayOutReleasesTheHold) {
    FakeDesktop desktop({});
    desktop.startAndWait();
    tracker.imageUploaded(10);

    std::size_t lock = 0;
    const auto leaveBy = {
        +[](JobTracker& t) { t.restarted(); }, +[](JobTracker& t) { t.connectionLost(); },
        +[](JobTracker& t) { t.carvingStopped(); }, +[](JobTracker& t) { t.paused(); }};
    for (auto leave : leaveBy) {
        tracker.started();
        ASSERT_TRUE(desktop.logindLockHeld(lock));
        leave(tracker);
        EXPECT_TRUE(eventually([&] { return !desktop.logindLockHeld(lock); })) << lock;
        EXPECT_FALSE(tracker.isCarving());
        ++lock;
    }
    // Restart puts the count back; a new upload too.
    tracker.dotReported(3, 3);
    tracker.restarted();
    EXPECT_EQ(tracker.progress().done(), 0);
}

TEST_F(JobTrackerTest, FallsBackToTheSessionPowerManagerAndToNothing) {
    {
        FakeDesktop desktop({.logind = false, .powerManagement = true, .notifications = false});
        desktop.startAndWait();
        tracker.imageUploaded(1);
        tracker.started();
        EXPECT_EQ(tracker.sleepHold(), Holder::PowerManagement);
        tracker.carvingStopped(); // no notification server: silently nothing
        EXPECT_EQ(tracker.sleepHold(), Holder::None);
        EXPECT_TRUE(eventually([&] {
            std::lock_guard lock(desktop.record.mutex);
            return desktop.record.uninhibits == 1;
        }));
    }
    FakeDesktop nothing({.logind = false, .powerManagement = false, .notifications = false});
    nothing.startAndWait();
    tracker.started();
    EXPECT_EQ(tracker.sleepHold(), Holder::None);
    EXPECT_TRUE(tracker.isCarving()); // the job is followed all the same
    tracker.carvingStopped();
}

TEST_F(JobTrackerTest, AJobWithoutAnUploadShowsOnlyTheDotsBurnt) {
    EXPECT_EQ(tip(), "");
    tracker.started();
    tracker.dotReported(5, 5);
    tracker.refresh();
    EXPECT_EQ(tip(), "1 dots");
}

} // namespace
} // namespace vexilon
