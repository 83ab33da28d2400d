#include "support/qt_environment.h"

#include "ui/color_picker.h"
#include "ui/digit_keys.h"

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(ColorValue, RedSitsInTheLowByteAndTheTopByteIsIgnored) {
    EXPECT_EQ(valueFromColor(Qt::red), 0x0000FF);
    EXPECT_EQ(valueFromColor(Qt::blue), 16711680);
    EXPECT_EQ(valueFromColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(colorFromValue(0x563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(colorFromValue(-1), QColor(Qt::white));
    EXPECT_EQ(colorFromValue(0x7F00FF00), QColor(Qt::green));
}

// Answers the palette the next click opens.
void answerPalette(const QColor& color, bool accept) {
    QTimer::singleShot(0, [color, accept] {
        auto* palette = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(palette, nullptr);
        palette->setCurrentColor(color);
        accept ? palette->accept() : palette->reject();
    });
}

TEST(ColorPicker, OneEventPerChoiceAndNoneWhenSetByCode) {
    ColorPicker picker;
    picker.resize(240, 32);
    QSignalSpy changed(&picker, &ColorPicker::colorChanged);
    picker.setColorValue(65280);
    EXPECT_EQ(picker.colorValue(), 65280);
    EXPECT_EQ(changed.count(), 0);

    answerPalette(Qt::blue, true);
    QTest::mouseClick(&picker, Qt::LeftButton);
    answerPalette(Qt::blue, true); // the same colour again is a choice too
    QTest::mouseClick(&picker, Qt::LeftButton);
    answerPalette(Qt::red, false);
    QTest::mouseClick(&picker, Qt::LeftButton);

    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 16711680);
    EXPECT_EQ(changed.at(1).at(0).toInt(), 16711680);
    EXPECT_EQ(picker.colorValue(), 16711680);
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
