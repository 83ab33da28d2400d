#include "app/console.h"

#include "app/program_state.h"
#include "app/settings/settings_file.h"
#include "app/settings/settings_number.h"
#include "app/window/main_window.h"
#include "control/control_events.h"
#include "link/serial_channel.h"
#include "ui/drop_target.h"
#include "ui/log_pane.h"
#include "ui/message_box.h"
#include "ui/themed_drawing.h"

#include <system_error>

namespace vexilon {
namespace {

PreviewArea previewArea(MainWindow& window) {
    return {*window.ui.PreviewCanvas, *window.ui.PreviewPicture, *window.ui.RightRuler,
            *window.ui.BottomRuler};
}

} // namespace

Console::Console(MainWindow& window, ProgramState& state, ConsolePaths paths, BlockingWait wait)
    : window_(window), state_(state), paths_(std::move(paths)),
      serialPort_(new SerialChannel(paths_.portLinkDirectory, &window)),
      runTimeClock_(*window.runTimeTimer(), *window.ui.RunTimeLabel),
      burningTime_(
          *window.ui.BurningTimeSlider, *window.ui.BurningTimeLabel,
          [this](std::uint8_t byte) { serialPort_->send(byte); },
          [this](const QString& text) { log(text); }),
      intake_(
          previewArea(window), state.pipelineValues(), window, runTimeClock_,
          paths_.programDirectory, [this](const QString& text) { log(text); }, showMessage),
      editing_(previewArea(window), state.pipelineValues(), window, *window.ui.XCoordBox,
               *window.ui.YCoordBox, intake_, paths_.programDirectory),
      upload_(
          previewArea(window), state.imageBitmap, window, paths_.programDirectory,
          [this](const QString& text) { log(text); }, showMessage,
          [this](std::span<const std::uint8_t> bytes) { return serialPort_->send(bytes); },
          std::move(wait)) {
    serialPort_->setObjectName(QStringLiteral("SerialPort"));
    connect(&window_, &MainWindow::closing, this, &Console::runClosing);
    wireImageButtons();
}

void Console::wireImageButtons() {
    intake_.listenTo(*window_.dropTarget());
    const Ui::MainWindow& ui = window_.ui;
    connect(ui.RotateButton, &QAbstractButton::clicked, &editing_, &ImageEditing::rotate);
    connect(ui.ZoomOutButton, &QAbstractButton::clicked, &editing_, &ImageEditing::zoomOut);
    connect(ui.ReloadButton, &QAbstractButton::clicked, &editing_, &ImageEditing::reload);
    connect(ui.ClearButton, &QAbstractButton::clicked, &editing_, &ImageEditing::clear);
    connect(ui.SendImageButton, &QAbstractButton::clicked, this, [this] { upload_.upload(); });
}

void Console::log(const QString& text) {
    appendLog(window_.ui.LogBox, text);
}

void Console::runStartUp() {
    useThemedDrawing();
    window_.dropTarget()->registerWindow(&window_);
    applyControlEvent(window_, ControlEvent::StartUp);
    window_.ui.PortComboBox->hide();

    log(QStringLiteral("        Welcome(^_^)\r\n\r\n"));
    log(QStringLiteral("Drag the picture to this window to start your engraving\r\n\r\n"));
    log(QStringLiteral("Tips:Optimal size of image is 500*500\r\n\r\n"));
    log(QStringLiteral("Automatic Connecting...\r\n"));

    connectAutomatically();

    // A fresh account may lack even ~/.config, so the parents come too.
    std::error_code ignored;
    std::filesystem::create_directories(paths_.settingsDirectory, ignored);

    restoreSettings();
}

void Console::connectAutomatically() {
    // The port scan and the verify request join here; until they do, the
    // console starts unconnected and says nothing more about it.
}

void Console::restoreSettings() {
    const std::string burningTime =
        readSettingsItem(paths_.settingsFile, "MainWindow", "Burning_time", "60");
    window_.ui.BurningTimeSlider->setPosition(settingsTextToInt(burningTime));
    burningTime_.show();

    const std::string color = readSettingsItem(paths_.settingsFile, "Setting", "Color", "255");
    state_.carvedColor = settingsTextToInt(color);
}

void Console::runClosing() {
    std::error_code ignored;
    std::filesystem::remove(paths_.programDirectory / kPreviewFileName, ignored);

    writeSettingsItem(paths_.settingsFile, "MainWindow", "Burning_time",
                      intToSettingsText(window_.ui.BurningTimeSlider->position()));
}

} // namespace vexilon
