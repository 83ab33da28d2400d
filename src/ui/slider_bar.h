#pragma once

#include <QSlider>

namespace vexilon {

// A horizontal trackbar with a stored position: the value the console reads
// is the one last set (limited to 0..32767), even when the thumb cannot show
// it, until the user moves the thumb; from then on it is the thumb's.
class SliderBar : public QSlider {
    Q_OBJECT

public:
    explicit SliderBar(QWidget* parent = nullptr);

    int position() const { return position_; }
    // Stores the value (limited to 0..32767) and puts the thumb there or at
    // the nearer end of the range.
    void setPosition(int value);

signals:
    // Every pointer move over the slider, with or without a button held, and
    // every move while the slider holds the mouse during a drag.
    void mouseMoved();
    // The left button went up after a left press on the slider, wherever the
    // pointer is by then.
    void leftButtonReleased();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void thumbMoved(int value);

    int position_ = 0;
    bool setting_ = false;
    bool leftPressed_ = false;
};

} // namespace vexilon
