#include "support/qt_environment.h"

#include "ui/colour_picker.h"
#include "ui/digit_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(ColorValue, RedSitsInTheLowByteAndTheTopByteIsIgnored) {
    EXPECT_EQ(valueFromColour(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(colourFromValue(0x563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(colourFromValue(0x7F00FF00), QColor(Qt::green));
}

TEST(DigitKeys, OnlyDigitsAndMinusAreTypedWhileEditingKeysWork) {
    QLineEdit box;
    acceptOnlyDigitsAndMinus(&box);
    QTest::keyClicks(&box, QStringLiteral("1a-2. b+3"));
    EXPECT_EQ(box.text(), QStringLiteral("1-23"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), QStringLiteral("-2"));
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QKeyEvent fullWidthSeven(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                             QStringLiteral("７"));
    QApplication::sendEvent(&box, &fullWidthSeven);
    QTest::keyClicks(&box, QStringLiteral("7"));
    EXPECT_EQ(box.text(), QStringLiteral("7"));

    // Text that does not come from typing stays as it is.
    box.setText(QStringLiteral("abc"));
    QTest::keyClicks(&box, QStringLiteral("x5"));
    EXPECT_EQ(box.text(), QStringLiteral("abc5"));
}

} // namespace
} // namespace vexilon
