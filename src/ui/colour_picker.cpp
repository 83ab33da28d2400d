#include "ui/colour_picker.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vexilon {

QColor colourFromValue(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

std::int32_t valueFromColour(const QColor& colour) {
    const QRgb rgb = colour.rgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(qRed(rgb)) |
                                     static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
                                     static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}

ColourPicker::ColourPicker(QWidget* parent) : QPushButton(parent) {
    connect(this, &QPushButton::clicked, this, &ColourPicker::choose);
}

void ColourPicker::setColourValue(std::int32_t value) {
    colour_ = colourFromValue(value);
    update();
}

void ColourPicker::choose() {
    QColorDialog palette(colour_, window());
    // Qt's own dialog, the same on every desktop, rather than one that a
    // platform theme may or may not provide.
    palette.setOption(QColorDialog::DontUseNativeDialog);
    if (palette.exec() != QDialog::Accepted) {
        return;
    }
    colour_ = palette.selectedColor();
    update();
    emit colourChanged(colourValue());
}

// The button's own frame, with the colour filling it inside a thin margin.
void ColourPicker::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect swatch = rect().adjusted(5, 5, -5, -5);
    painter.fillRect(swatch, colour_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace vexilon
