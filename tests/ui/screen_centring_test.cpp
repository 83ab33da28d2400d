#include "support/qt_environment.h"

#include "ui/screen_centring.h"

#include <QShowEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

class CentredWindow : public QWidget {
protected:
    void showEvent(QShowEvent* event) override {
        centring_.onShow(*this, *event);
        QWidget::showEvent(event);
    }

private:
    ScreenCentring centring_;
};

TEST(ScreenCentring, LaterShowsLeaveTheWindowWhereItWasPut) {
    CentredWindow window;
    window.resize(300, 200);
    window.move(3, 4);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_NE(window.pos(), QPoint(3, 4)); // centred: the windows' screen tests say where

    window.hide();
    window.move(10, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.pos(), QPoint(10, 20));
}

} // namespace
} // namespace vexilon
