#pragma once

#include <QColor>
#include <QPushButton>

#include <cstdint>

namespace vexilon {

// Colours as the console stores them: 0x00BBGGRR, red in the low byte. The
// top byte carries nothing and is ignored.
QColor colourFromValue(std::int32_t value);
std::int32_t valueFromColour(const QColor& colour);

// A button that shows its current colour; a click opens a palette (Qt's
// colour dialog) to choose another. Each choice the user makes raises
// colourChanged once, even when it is the colour already shown; setting the
// colour by code raises nothing.
class ColourPicker : public QPushButton {
    Q_OBJECT

public:
    explicit ColourPicker(QWidget* parent = nullptr);

    void setColourValue(std::int32_t value);
    std::int32_t colourValue() const { return valueFromColour(colour_); }

signals:
    void colourChanged(std::int32_t value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose();

    QColor colour_ = Qt::red;
};

} // namespace vexilon
