#pragma once

#include "control/job_control.h"
#include "control/jogging.h"
#include "image/view/preview_area.h"
#include "link/connection/connection.h"
#include "ui/screen_centring.h"

#include <QWidget>

#include <memory>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace Ui {
class MainWindow;
}

namespace vexilon {

class DropTarget;
class IntervalTimer;
class SliderBar;

// The image editing group and the upload button.
struct ImageButtons {
    QAbstractButton& rotate;
    QAbstractButton& zoomOut;
    QAbstractButton& reload;
    QAbstractButton& clear;
    QAbstractButton& sendImage;
};

// The console's main window: the form with every control of the layout, and
// the non-visual parts. It runs no start-up or closing logic of its own; the
// console hooks its sequences onto it. The form stays inside: the rest of
// the console sees the controls through the groups below, each control
// reachable by its layout name too (findChild).
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    PreviewArea previewArea() const;
    ConnectionControls connectionControls() const;
    JobButtons jobButtons() const;
    PositioningButtons positioningButtons() const;
    ImageButtons imageButtons() const;
    QLineEdit& xCoordBox() const;
    QLineEdit& yCoordBox() const;
    QLabel& runTimeLabel() const;
    SliderBar& burningTimeSlider() const;
    QLabel& burningTimeLabel() const;
    QPlainTextEdit& logBox() const;
    QAbstractButton& settingButton() const;

    // "VerifyTimer" and "RunTimeTimer", both stopped (interval 0).
    IntervalTimer* verifyTimer() const { return verifyTimer_; }
    IntervalTimer* runTimeTimer() const { return runTimeTimer_; }
    // "DropTarget", not yet registered with the window.
    DropTarget* dropTarget() const { return dropTarget_; }
    // "SerialPort", the serial channel of src/link, is made a child of the
    // window when the console is put together: the window owns it, and
    // destroying the window closes the port.

signals:
    // The window is about to go: the closing sequence runs on this.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::MainWindow> ui_;
    IntervalTimer* verifyTimer_;
    IntervalTimer* runTimeTimer_;
    DropTarget* dropTarget_;
    ScreenCentring centring_;
};

} // namespace vexilon
