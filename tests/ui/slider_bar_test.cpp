#include "support/qt_environment.h"

#include "ui/slider_bar.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

// Sends the mouse events a window system would deliver to the slider; while
// a button is held the slider keeps the mouse, so a release anywhere comes to
// it as well.
void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

class BurningTimeSlider : public ::testing::Test {
protected:
    BurningTimeSlider() {
        slider.setGeometry(0, 0, 760, 24);
        slider.setRange(1, 240);
        slider.setPageStep(5);
        slider.setValue(60);
    }

    QPoint thumbCentre() {
        QStyleOptionSlider option;
        slider.initStyleOption(&option);
        return slider.style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider)
            .center();
    }

    // Lends the test the option the slider paints itself with.
    struct Probe : SliderBar {
        using QSlider::initStyleOption;
    } slider;
    QSignalSpy moved{&slider, &SliderBar::mouseMoved};
    QSignalSpy released{&slider, &SliderBar::leftButtonReleased};
};

TEST_F(BurningTimeSlider, SetPositionIsStoredEvenBeyondTheThumbsRange) {
    // 240: the thumb is there already, yet the position is stored.
    for (auto [set, stored] : {std::pair{-7, 0}, {40000, 32767}, {240, 240}}) {
        slider.setPosition(set);
        EXPECT_EQ(slider.position(), stored) << set;
    }
    slider.setPosition(300);

    // A keyboard move is a user's move: it stores the thumb's position, but
    // raises neither event.
    QTest::keyClick(&slider, Qt::Key_Left);
    EXPECT_EQ(slider.position(), 239);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_EQ(slider.position(), 234);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(released.count(), 0);
}

TEST_F(BurningTimeSlider, DraggingReportsEveryMoveAndTheReleaseOutside) {
    const QPoint from = thumbCentre();
    sendMouse(&slider, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(&slider, QEvent::MouseMove, from + QPoint(100, 0), Qt::NoButton, Qt::LeftButton);
    const int dragged = slider.value();
    EXPECT_GT(dragged, 60);
    EXPECT_EQ(slider.position(), dragged);
    sendMouse(&slider, QEvent::MouseMove, from + QPoint(160, 300), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(released.count(), 0);
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(-40, 300), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(released.count(), 1);
    EXPECT_EQ(slider.position(), slider.value());

    // Hovering reports moves too; releases without a left press on it do not count.
    sendMouse(&slider, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(moved.count(), 3);
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    sendMouse(&slider, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(released.count(), 1);
}

// The whole height of the track pages, not only the groove line.
TEST_F(BurningTimeSlider, AClickAnywhereBesideTheThumbPagesTowardsIt) {
    const int right = thumbCentre().x() + 200;
    const int left = thumbCentre().x() - 200;
    int expected = 60;
    for (const auto& [x, step] : {std::pair{right, 5}, {left, -5}}) {
        for (const int y : {0, 12, 23}) {
            sendMouse(&slider, QEvent::MouseButtonPress, {x, y}, Qt::LeftButton, Qt::LeftButton);
            sendMouse(&slider, QEvent::MouseButtonRelease, {x, y}, Qt::LeftButton, Qt::NoButton);
            expected += step;
            EXPECT_EQ(slider.position(), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(released.count(), 6);
}

} // namespace
} // namespace vexilon
