#include "support/qt_environment.h"

#include "control/burning_time.h"
#include "control/run_time_clock.h"
#include "ui/interval_timer.h"
#include "ui/slider_bar.h"

#include <QLabel>
#include <vector>

namespace vexilon {
namespace {

struct ClockParts {
    IntervalTimer timer;
    QLabel label{QStringLiteral("Run time :  00:00")};
    RunTimeClock clock{timer, label};

    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            emit timer.tick();
        }
    }
    std::string text() const { return label.text().toStdString(); }
};

TEST(RunTimeClock, PauseKeepsTheCountAndStartResumesIt) {
    ClockParts parts;
    parts.clock.startTicking();
    EXPECT_EQ(parts.timer.intervalMs(), 1000);
    parts.ticks(7);
    EXPECT_EQ(parts.text(), "Run time :  00:07");

    parts.clock.stopTicking();
    EXPECT_FALSE(parts.timer.isRunning());
    parts.clock.startTicking();
    parts.ticks(1);
    EXPECT_EQ(parts.text(), "Run time :  00:08");
    parts.ticks(57);
    EXPECT_EQ(parts.text(), "Run time :  01:05");
}

TEST(RunTimeClock, ResetShowsZeroAtOnceAndTheNextTickCountsFromThere) {
    ClockParts parts;
    parts.clock.startTicking();
    parts.ticks(42);

    // A recarve: counter and label back to zero while the clock runs on.
    parts.clock.resetCounter();
    parts.clock.resetLabel();
    parts.clock.startTicking();
    EXPECT_EQ(parts.text(), "Run time :  00:00");
    EXPECT_TRUE(parts.timer.isRunning());
    parts.ticks(1);
    EXPECT_EQ(parts.text(), "Run time :  00:01");

    // The label alone does not touch the count.
    parts.ticks(4);
    parts.clock.resetLabel();
    parts.ticks(1);
    EXPECT_EQ(parts.text(), "Run time :  00:06");
}

struct SliderParts {
    SliderBar slider;
    QLabel label{QStringLiteral("Burning time: 60")};
    std::vector<int> sent;
    QStringList logged;
    BurningTime burningTime{slider, label, [this](std::uint8_t byte) { sent.push_back(byte); },
                            [this](const QString& text) { logged << text; }};

    SliderParts() {
        slider.setRange(1, 240);
        slider.setPosition(60);
    }
};

TEST(BurningTime, MouseMoveShowsAndLeftReleaseSendsAndLogsEveryTime) {
    SliderParts parts;
    parts.slider.setPosition(120);
    EXPECT_EQ(parts.label.text(), QStringLiteral("Burning time: 60"));

    emit parts.slider.mouseMoved();
    EXPECT_EQ(parts.label.text(), QStringLiteral("Burning Time: 120"));

    emit parts.slider.leftButtonReleased();
    emit parts.slider.leftButtonReleased();
    EXPECT_EQ(parts.sent, (std::vector<int>{120, 120}));
    EXPECT_EQ(parts.logged, QStringList({QStringLiteral("Burning Time: 120\r\n\r\n"),
                                         QStringLiteral("Burning Time: 120\r\n\r\n")}));
}

TEST(BurningTime, HandEditedPositionsBeyondTheRangeAreShownButNeverSentAsCommands) {
    SliderParts parts;
    parts.slider.setPosition(500);
    emit parts.slider.mouseMoved();
    EXPECT_EQ(parts.label.text(), QStringLiteral("Burning Time: 500"));

    emit parts.slider.leftButtonReleased();
    parts.slider.setPosition(0);
    emit parts.slider.leftButtonReleased();
    EXPECT_EQ(parts.sent, (std::vector<int>{240, 1}));
    EXPECT_EQ(parts.logged.first(), QStringLiteral("Burning Time: 500\r\n\r\n"));
}

} // namespace
} // namespace vexilon
