#pragma once

#include <QColor>
#include <QPushButton>

#include <cstdint>

namespace vexilon {

// Colours as the console stores them: 0x00BBGGRR, red in the low byte. The
// top byte carries nothing and is ignored.
QColor colorFromValue(std::int32_t value);
std::int32_t valueFromColor(const QColor& color);

// A button that shows its current colour; a click opens a palette (Qt's
// colour dialog) to choose another. Each choice the user makes raises
// colorChanged once, even when it is the colour already shown; setting the
// colour by code raises nothing.
class ColorPicker : public QPushButton {
    Q_OBJECT

public:
    explicit ColorPicker(QWidget* parent = nullptr);

    void setColorValue(std::int32_t value);
    std::int32_t colorValue() const { return valueFromColor(color_); }

signals:
    void colorChanged(std::int32_t value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose();

    QColor color_ = Qt::red;
};

} // namespace vexilon
