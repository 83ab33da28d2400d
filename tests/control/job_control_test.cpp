#include "support/qt_environment.h"

#include "control/job_control.h"
#include "control/run_time_clock.h"
#include "ui/interval_timer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

namespace vexilon {
namespace {

// The six buttons with the clock and the coordinate boxes they act on; the
// bytes, lines and control events are recorded instead of reaching a machine
// and a window.
class JobControlTest : public ::testing::Test {
protected:
    QPushButton startButton, pauseButton, restartButton, recarveButton, forwardButton,
        backwardButton;
    IntervalTimer timer;
    QLabel label{QStringLiteral("Run time :  00:00")};
    RunTimeClock clock{timer, label};
    QLineEdit xBox{QStringLiteral("000")}, yBox{QStringLiteral("000")};
    std::vector<int> sent;
    QStringList logged;
    std::vector<ControlEvent> events;
    JobControl jobs{JobButtons{startButton, pauseButton, restartButton, recarveButton,
                               forwardButton, backwardButton},
                    clock,
                    xBox,
                    yBox,
                    [this](std::uint8_t byte) { sent.push_back(byte); },
                    [this](const QString& text) { logged << text; },
                    [this](ControlEvent event) { events.push_back(event); }};

    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            emit timer.tick();
        }
    }
    std::string shown() const { return label.text().toStdString(); }
    void showPosition(const char* x, const char* y) {
        xBox.setText(QString::fromLatin1(x));
        yBox.setText(QString::fromLatin1(y));
    }
};

TEST_F(JobControlTest, StartResumesAPausedClockAndLeavesARunningOneAlone) {
    startButton.click();
    ticks(67);
    EXPECT_EQ(shown(), "Run time :  01:07");

    pauseButton.click();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(shown(), "Run time :  01:07");
    pauseButton.click(); // paused already: still sent and logged

    startButton.click();
    EXPECT_TRUE(timer.isRunning());
    ticks(1);
    EXPECT_EQ(shown(), "Run time :  01:08");

    startButton.click(); // running already: no reset
    EXPECT_EQ(clock.elapsedSeconds(), 68);
    EXPECT_EQ(timer.intervalMs(), 1000);

    EXPECT_EQ(sent, (std::vector<int>{241, 242, 242, 241, 241}));
    EXPECT_EQ(logged, QStringList({"Start carving\r\n\r\n", "Engraving Pause !\r\n\r\n",
                                   "Engraving Pause !\r\n\r\n", "Start carving\r\n\r\n",
                                   "Start carving\r\n\r\n"}));
    EXPECT_EQ(events, std::vector<ControlEvent>(3, ControlEvent::Start));
}

TEST_F(JobControlTest, RestartStopsTheClockAndZeroesEveryDisplay) {
    startButton.click();
    ticks(5);
    showPosition("317", "45");

    restartButton.click();
    EXPECT_EQ(sent.back(), 249);
    EXPECT_EQ(logged.back(), QStringLiteral("Restarting...\r\n\r\n"));
    EXPECT_EQ(events.back(), ControlEvent::Restart);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(shown(), "Run time :  00:00");
    EXPECT_EQ(xBox.text(), QStringLiteral("000"));
    EXPECT_EQ(yBox.text(), QStringLiteral("000"));

    // The counter went back too, not just the label.
    startButton.click();
    ticks(1);
    EXPECT_EQ(shown(), "Run time :  00:01");
}

TEST_F(JobControlTest, RecarveWhileStoppedCountsAgainFromZeroAndKeepsThePosition) {
    startButton.click();
    ticks(9);
    pauseButton.click();
    showPosition("12", "400");
    const std::size_t eventsBefore = events.size();

    recarveButton.click();
    EXPECT_EQ(std::vector<int>(sent.end() - 2, sent.end()), (std::vector<int>{252, 119}));
    EXPECT_EQ(logged.back(), QStringLiteral("Recarve\r\n\r\n"));
    EXPECT_EQ(shown(), "Run time :  00:00");
    EXPECT_TRUE(timer.isRunning());
    ticks(1);
    EXPECT_EQ(shown(), "Run time :  00:01");
    EXPECT_EQ(xBox.text(), QStringLiteral("12"));
    EXPECT_EQ(yBox.text(), QStringLiteral("400"));
    EXPECT_EQ(events.size(), eventsBefore);
}

TEST_F(JobControlTest, RowSkipsLeaveClockPositionAndControlsAsTheyWere) {
    startButton.click();
    ticks(3);
    showPosition("7", "8");
    for (const bool running : {true, false}) {
        sent.clear();
        logged.clear();
        events.clear();

        forwardButton.click();
        backwardButton.click();
        EXPECT_EQ(sent, (std::vector<int>{252, 170, 252, 85}));
        EXPECT_EQ(logged, QStringList({"Fast Forward for 15 row\r\n\r\n",
                                       "Fast Backward for 15 row\r\n\r\n"}));
        EXPECT_TRUE(events.empty());
        EXPECT_EQ(timer.isRunning(), running);
        EXPECT_EQ(clock.elapsedSeconds(), 3);
        EXPECT_EQ(shown(), "Run time :  00:03");
        EXPECT_EQ(xBox.text(), QStringLiteral("7"));
        EXPECT_EQ(yBox.text(), QStringLiteral("8"));

        pauseButton.click();
    }
}

} // namespace
} // namespace vexilon
