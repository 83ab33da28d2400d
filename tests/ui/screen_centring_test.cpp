#include "support/qt_environment.h"

#include "ui/screen_centring.h"

#include <QScreen>
#include <QShowEvent>
#include <QStyle>
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

TEST(ScreenCentring, TheFirstShowCentresTheWindowAndLaterShowsLeaveItWhereItWasPut) {
    CentredWindow window;
    window.resize(300, 200);
    window.move(3, 4);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_NE(window.screen(), nullptr);
    const QRect centred = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(300, 200),
                                              window.screen()->availableGeometry());
    EXPECT_EQ(window.geometry(), centred);

    window.hide();
    window.move(10, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.pos(), QPoint(10, 20));
}

} // namespace
} // namespace vexilon
