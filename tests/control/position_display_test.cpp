#include "support/qt_environment.h"

#include "control/position_display.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace vexilon {
namespace {

// A machine reports up to 1,152 dots a second; the boxes must end on the last
// one within a frame, without laying out a text for every dot.
TEST(PositionDisplay, FollowsTheReportsOnceAFrameAndEndsOnTheLast) {
    QLineEdit x;
    QLineEdit y;
    PositionDisplay display(x, y);
    QSignalSpy xTexts(&x, &QLineEdit::textChanged);
    QSignalSpy yTexts(&y, &QLineEdit::textChanged);

    display.show(1, 7);
    EXPECT_EQ(x.text() + ',' + y.text(), QStringLiteral("1,7")); // the first at once
    for (int dot = 2; dot <= 200; ++dot) {
        display.show(dot, 7);
    }
    EXPECT_EQ(x.text(), QStringLiteral("1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return x.text() == QStringLiteral("200"); }, 1000));
    EXPECT_EQ(xTexts.count(), 2);
    EXPECT_EQ(yTexts.count(), 1); // an unchanged text is not set again

    // Reset is at once, and a dot still waiting for its frame is forgotten.
    display.show(300, 8);
    display.reset();
    EXPECT_EQ(x.text() + ',' + y.text(), QStringLiteral("000,000"));
    QTest::qWait(40);
    EXPECT_EQ(x.text() + ',' + y.text(), QStringLiteral("000,000"));
}

} // namespace
} // namespace vexilon
