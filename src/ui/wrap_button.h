#pragma once

#include <QPushButton>

namespace vexilon {

// A push button whose caption breaks into lines at blanks where it is wider
// than the button, as the layout's narrow buttons need ("      Fast
// Backward" shows as "Fast" over "Backward").
class WrapButton : public QPushButton {
    Q_OBJECT

public:
    explicit WrapButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vexilon
