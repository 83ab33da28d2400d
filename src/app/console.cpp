#include "app/console.h"

#include "app/program_state.h"
#include "app/settings/settings_file.h"
#include "app/settings/settings_number.h"
#include "app/window/main_window.h"
#include "control/control_events.h"
#include "link/serial_channel.h"
#include "ui/drop_target.h"
#include "ui/log_pane.h"
#include "ui/themed_drawing.h"

#include <system_error>

namespace vexilon {

Console::Console(MainWindow& window, ProgramState& state, ConsolePaths paths)
    : window_(window), state_(state), paths_(std::move(paths)),
      serialPort_(new SerialChannel(paths_.portLinkDirectory, &window)),
      runTimeClock_(*window.runTimeTimer(), *window.ui.RunTimeLabel),
      burningTime_(
          *window.ui.BurningTimeSlider, *window.ui.BurningTimeLabel,
          [this](std::uint8_t byte) { serialPort_->send(byte); },
          [this](const QString& text) { log(text); }),
      jobControl_(
          JobButtons{*window.ui.StartButton, *window.ui.PauseButton, *window.ui.RestartButton,
                     *window.ui.RecarveButton, *window.ui.FastForwardButton,
                     *window.ui.FastBackwardButton},
          runTimeClock_, *window.ui.XCoordBox, *window.ui.YCoordBox,
          [this](std::uint8_t byte) { serialPort_->send(byte); },
          [this](const QString& text) { log(text); },
          [this](ControlEvent event) { applyControlEvent(window_, event); }),
      jogging_(
          PositioningButtons{*window.ui.UpButton, *window.ui.DownButton, *window.ui.LeftButton,
                             *window.ui.RightButton, *window.ui.OriginButton,
                             *window.ui.MiddleButton, *window.ui.CarvingPreviewButton,
                             *window.ui.UseKeyboardCheckBox},
          HotKeyService{[this](Qt::Key key) { return hotKeys_.take(key); },
                        [this](int identifier) { hotKeys_.release(identifier); }},
          [this](std::uint8_t byte) { serialPort_->send(byte); },
          [this](const QString& text) { log(text); }, realBlockingWait()) {
    serialPort_->setObjectName(QStringLiteral("SerialPort"));
    connect(&hotKeys_, &GlobalHotKeys::hotKey, &jogging_, &Jogging::hotKeyPressed);
    connect(&window_, &MainWindow::closing, this, &Console::runClosing);
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
