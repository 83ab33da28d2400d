#include "app/window/main_window.h"

#include "app/window/placeholder_picture.h"
#include "ui/base/interval_timer.h"
#include "ui/drop_target.h"
#include "ui/form_fonts.h"
#include "ui_main_window.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace vexilon {
namespace {

// The form lets the X label reach under its box. The box repaints up to 60
// times a second while carving, and each time the label beneath it would be
// laid out and painted again, for a strip the box covers anyway.
void keepOutFromUnder(QWidget& label, const QWidget& box) {
    QRegion visible(label.rect());
    visible -= box.geometry().translated(-label.pos());
    label.setMask(visible);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MainWindow>()),
      verifyTimer_(new IntervalTimer(this)), runTimeTimer_(new IntervalTimer(this)),
      dropTarget_(new DropTarget(this)) {
    ui_->setupUi(this);
    applyFormFontPixelSizes(this);
    // uic drops carriage returns from form strings; the title keeps its
    // "\r\n" ending and is passed on as it is.
    setWindowTitle(QStringLiteral("Miniature Vexilon\r\n"));
    // Fixed size (the form sets minimum = maximum): caption bar with system
    // menu, minimise and close, but no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    verifyTimer_->setObjectName(QStringLiteral("VerifyTimer"));
    runTimeTimer_->setObjectName(QStringLiteral("RunTimeTimer"));
    dropTarget_->setObjectName(QStringLiteral("DropTarget"));

    ui_->PreviewPicture->setPicture(placeholderPicture());
    keepOutFromUnder(*ui_->XLabel, *ui_->XCoordBox);
    keepOutFromUnder(*ui_->YLabel, *ui_->YCoordBox);
}

MainWindow::~MainWindow() = default;

PreviewArea MainWindow::previewArea() const {
    return {*ui_->PreviewCanvas, *ui_->PreviewPicture, *ui_->RightRuler, *ui_->BottomRuler};
}

ConnectionControls MainWindow::connectionControls() const {
    return {*ui_->ConnectButton, *ui_->DisconnectButton, *ui_->PortComboBox, *verifyTimer_};
}

JobButtons MainWindow::jobButtons() const {
    return {*ui_->StartButton,   *ui_->PauseButton,       *ui_->RestartButton,
            *ui_->RecarveButton, *ui_->FastForwardButton, *ui_->FastBackwardButton};
}

PositioningButtons MainWindow::positioningButtons() const {
    return {*ui_->UpButton,
            *ui_->DownButton,
            *ui_->LeftButton,
            *ui_->RightButton,
            *ui_->OriginButton,
            *ui_->MiddleButton,
            *ui_->CarvingPreviewButton,
            *ui_->UseKeyboardCheckBox};
}

ImageButtons MainWindow::imageButtons() const {
    return {*ui_->RotateButton, *ui_->ZoomOutButton, *ui_->ReloadButton, *ui_->ClearButton,
            *ui_->SendImageButton};
}

QLineEdit& MainWindow::xCoordBox() const {
    return *ui_->XCoordBox;
}

QLineEdit& MainWindow::yCoordBox() const {
    return *ui_->YCoordBox;
}

QLabel& MainWindow::runTimeLabel() const {
    return *ui_->RunTimeLabel;
}

SliderBar& MainWindow::burningTimeSlider() const {
    return *ui_->BurningTimeSlider;
}

QLabel& MainWindow::burningTimeLabel() const {
    return *ui_->BurningTimeLabel;
}

QPlainTextEdit& MainWindow::logBox() const {
    return *ui_->LogBox;
}

QAbstractButton& MainWindow::settingButton() const {
    return *ui_->SettingButton;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    centring_.onShow(*this, *event);
    QWidget::showEvent(event);
}

} // namespace vexilon
