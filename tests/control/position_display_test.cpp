#include "support/qt_environment.h"

#include "control/position_display.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <vector>

namespace vexilon {
namespace {

// A machine reports up to 1,152 dots a second, handed over a frame's worth
// at a time; the boxes must show each burst's last dot, at most once a frame,
// without laying out a text for every dot.
TEST(PositionDisplay, ShowsEachBurstsLastDotAtMostOnceAFrame) {
    QLineEdit x;
    QLineEdit y;
    PositionDisplay display(x, y);
    QSignalSpy xTexts(&x, &QLineEdit::textChanged);
    QSignalSpy yTexts(&y, &QLineEdit::textChanged);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> shownAt;
    QObject::connect(&x, &QLineEdit::textChanged, [&] { shownAt.push_back(clock.elapsed()); });

    for (int dot = 1; dot <= 200; ++dot) {
        display.show(dot, 7);
    }
    EXPECT_EQ(x.text(), QString()); // not in the middle of the burst
    ASSERT_TRUE(QTest::qWaitFor([&] { return x.text() == QStringLiteral("200"); }, 1000));
    EXPECT_EQ(y.text(), QStringLiteral("7"));
    EXPECT_EQ(xTexts.count(), 1);

    for (int dot = 201; dot <= 250; ++dot) {
        display.show(dot, 7);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return x.text() == QStringLiteral("250"); }, 1000));
    ASSERT_EQ(shownAt.size(), 2U);
    EXPECT_GE(shownAt[1] - shownAt[0], 15); // not before the frame is over
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
