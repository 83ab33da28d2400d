#include "qt_environment.h"

#include "ui/wrap_button.h"

#include <QFont>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

// The number of separate bands of rows that hold dark (text) pixels.
int textLines(const QImage& image) {
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool dark = false;
        for (int x = 4; x < image.width() - 4 && !dark; ++x) {
            dark = qGray(image.pixel(x, y)) < 100;
        }
        if (dark && !inBand) {
            ++bands;
        }
        inBand = dark;
    }
    return bands;
}

TEST(WrapButton, BreaksTheCaptionAtBlanksOnlyWhereItDoesNotFit) {
    QFont font(QStringLiteral("Calibri"));
    font.setPixelSize(12);
    WrapButton narrow;
    narrow.setFont(font);
    narrow.setGeometry(0, 0, 64, 40);
    narrow.setText(QStringLiteral("      Fast      Backward"));
    EXPECT_EQ(narrow.text(), QStringLiteral("      Fast      Backward"));
    EXPECT_EQ(textLines(narrow.grab().toImage()), 2);

    WrapButton wide;
    wide.setFont(font);
    wide.setGeometry(0, 0, 168, 56);
    wide.setText(QStringLiteral("Send Image To Machine"));
    EXPECT_EQ(textLines(wide.grab().toImage()), 1);
}

} // namespace
} // namespace vexilon
