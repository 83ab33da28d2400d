#pragma once

#include "ui_main_window.h"

#include "ui/screen_centring.h"

#include <QWidget>

namespace vexilon {

class DropTarget;
class IntervalTimer;

// The console's main window: the form with every control of the layout, and
// the non-visual parts. It runs no start-up or closing logic of its own; the
// console hooks its sequences onto it.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    // The controls, by their layout names (ui.StartButton, ui.LogBox, ...).
    Ui::MainWindow ui;

    // "VerifyTimer" and "RunTimeTimer", both stopped (interval 0).
    IntervalTimer* verifyTimer() const { return verifyTimer_; }
    IntervalTimer* runTimeTimer() const { return runTimeTimer_; }
    // "DropTarget", not yet registered with the window.
    DropTarget* dropTarget() const { return dropTarget_; }
    // "SerialPort", the serial channel of src/link, is made a child of the
    // window by the console's wiring: the window owns it, and destroying the
    // window closes the port.

signals:
    // The window is about to go: the closing sequence runs on this.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    IntervalTimer* verifyTimer_;
    IntervalTimer* runTimeTimer_;
    DropTarget* dropTarget_;
    ScreenCentring centring_;
};

} // namespace vexilon
