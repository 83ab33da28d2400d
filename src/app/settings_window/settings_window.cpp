#include "app/settings_window/settings_window.h"

#include "app/settings_window/explanatory_picture.h"
#include "image/view/qt_pictures.h"
#include "ui/digit_keys.h"
#include "ui/empty_title.h"
#include "ui/form_fonts.h"
#include "ui_settings_window.h"

#include <QShowEvent>

namespace vexilon {

SettingsWindow::SettingsWindow(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::SettingsWindow>()) {
    Ui::SettingsWindow& ui = *ui_;
    ui.setupUi(this);
    applyFormFontPixelSizes(this);
    // Fixed size (the form sets minimum = maximum): caption bar with system
    // menu, minimise and close, but no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    acceptOnlyDigitsAndMinus(ui.StepPauseBox);
    ui.PhotoPicture->setPicture(
        bmp24Bytes(scaledPicture(explanatoryImage(), ui.PhotoPicture->size())));
}

SettingsWindow::~SettingsWindow() = default;

SettingsControls SettingsWindow::controls() const {
    return {*ui_->StepPauseBox, *ui_->StepPauseSaveButton, *ui_->ReverseXButton,
            *ui_->ReverseYButton, *ui_->CarvedColorPicker};
}

// Opens centred on its screen, wherever the main window stands.
void SettingsWindow::showEvent(QShowEvent* event) {
    centring_.onShow(*this, *event);
    QWidget::showEvent(event);
    keepTitleBarEmpty(*this);
}

} // namespace vexilon
