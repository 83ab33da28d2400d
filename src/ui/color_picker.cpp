#include "ui/color_picker.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vexilon {

QColor colorFromValue(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

std::int32_t valueFromColor(const QColor& color) {
    const QRgb rgb = color.rgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(qRed(rgb)) |
                                     static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
                                     static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}

ColorPicker::ColorPicker(QWidget* parent) : QPushButton(parent) {
    connect(this, &QPushButton::clicked, this, &ColorPicker::choose);
}

void ColorPicker::setColorValue(std::int32_t value) {
    color_ = colorFromValue(value);
    update();
}

void ColorPicker::choose() {
    QColorDialog palette(color_, window());
    // Qt's own dialog, the same on every desktop, rather than one that a
    // platform theme may or may not provide.
    palette.setOption(QColorDialog::DontUseNativeDialog);
    if (palette.exec() != QDialog::Accepted) {
        return;
    }
    color_ = palette.selectedColor();
    update();
    emit colorChanged(colorValue());
}

// The button's own frame, with the colour filling it inside a thin margin.
void ColorPicker::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect swatch = rect().adjusted(5, 5, -5, -5);
    painter.fillRect(swatch, color_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace vexilon
