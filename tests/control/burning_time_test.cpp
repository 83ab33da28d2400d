#include "support/qt_environment.h"

#include "control/burning_time.h"
#include "ui/slider_bar.h"

#include <QLabel>
#include <vector>

namespace vexilon {
namespace {

// The run-time clock is followed through the console's own buttons in
// tests/app/console_machine_control_test.cpp.
TEST(BurningTime, MouseMoveShowsAndEachLeftReleaseSendsTheClampedValueAndLogs) {
    SliderBar slider;
    slider.setRange(1, 240);
    QLabel label{QStringLiteral("Burning time: 60")};
    std::vector<int> sent;
    QStringList logged;
    BurningTime burningTime{slider, label,
                            Services{[&](const QString& text) { logged << text; },
                                     {},
                                     [&](std::span<const std::uint8_t> bytes) {
                                         sent.insert(sent.end(), bytes.begin(), bytes.end());
                                         return true;
                                     },
                                     {}}};

    slider.setPosition(120);
    EXPECT_EQ(label.text(), QStringLiteral("Burning time: 60"));
    emit slider.mouseMoved();
    EXPECT_EQ(label.text(), QStringLiteral("Burning Time: 120"));
    emit slider.leftButtonReleased();
    emit slider.leftButtonReleased();

    // A hand-edited position beyond the range is shown, never sent as a command.
    slider.setPosition(500);
    emit slider.mouseMoved();
    EXPECT_EQ(label.text(), QStringLiteral("Burning Time: 500"));
    emit slider.leftButtonReleased();
    EXPECT_EQ(sent, (std::vector<int>{120, 120, 240}));
    EXPECT_EQ(logged, QStringList({QStringLiteral("Burning Time: 120\r\n\r\n"),
                                   QStringLiteral("Burning Time: 120\r\n\r\n"),
                                   QStringLiteral("Burning Time: 500\r\n\r\n")}));
}

} // namespace
} // namespace vexilon
