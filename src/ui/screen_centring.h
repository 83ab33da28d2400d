#pragma once

class QShowEvent;
class QWidget;

namespace vexilon {

// A window that opens centred on its screen, whatever the screen's size:
// only the first show the program asks for moves it, so that a show after a
// minimise leaves it where the user put it. Called from the window's
// showEvent, before the base class's.
class ScreenCentring {
public:
    void onShow(QWidget& window, const QShowEvent& event);

private:
    bool centred_ = false;
};

} // namespace vexilon
