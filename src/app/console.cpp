#include "app/console.h"

#include "app/program_state.h"
#include "app/settings/settings_number.h"
#include "app/settings_window/open_settings_window.h"
#include "app/window/main_window.h"
#include "control/control_events.h"
#include "link/serial_channel.h"
#include "ui/drop_target.h"
#include "ui/log_pane.h"
#include "ui/message_box.h"
#include "ui/themed_drawing.h"

#include <system_error>

namespace vexilon {

Console::Console(MainWindow& window, ProgramState& state, ConsolePaths paths,
                 Connection::ShowMessage messageBox)
    : window_(window), state_(state), paths_(std::move(paths)), settings_(paths_.settingsFile),
      serialPort_(new SerialChannel(paths_.portLinkDirectory, &window)),
      runTimeClock_(*window.runTimeTimer(), *window.ui.RunTimeLabel),
      burningTime_(
          *window.ui.BurningTimeSlider, *window.ui.BurningTimeLabel,
          [this](std::uint8_t byte) { serialPort_->send(byte); },
          [this](const QString& text) { log(text); }),
      connection_(
          {window, *window.ui.ConnectButton, *window.ui.DisconnectButton, *window.ui.PortComboBox,
           *window.verifyTimer()},
          *serialPort_, [this](const QString& text) { log(text); },
          messageBox ? std::move(messageBox) : Connection::ShowMessage(showMessage)),
      replyRouting_(*serialPort_,
                    {*window.ui.PreviewCanvas, *window.ui.XCoordBox, *window.ui.YCoordBox,
                     runTimeClock_, connection_, state.carvedColor},
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
    serialPort_->setDeviceDirectory(paths_.deviceDirectory);
    connect(&hotKeys_, &GlobalHotKeys::hotKey, &jogging_, &Jogging::hotKeyPressed);
    connect(&window_, &MainWindow::closing, this, &Console::runClosing);
    connect(window_.ui.SettingButton, &QPushButton::clicked, this, &Console::openSettings);
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

    if (paths_.settingsInMemory()) {
        log(QStringLiteral("No home directory: settings are kept for this run only\r\n"));
    } else {
        // A fresh account may lack even ~/.config, so the parents come too.
        std::error_code ignored;
        std::filesystem::create_directories(paths_.settingsDirectory, ignored);
    }

    restoreSettings();
}

void Console::connectAutomatically() {
    connection_.scanAutomatically();
}

void Console::restoreSettings() {
    const std::string burningTime = settings_.read("MainWindow", "Burning_time", "60");
    window_.ui.BurningTimeSlider->setPosition(settingsTextToInt(burningTime));
    burningTime_.show();

    const std::string color = settings_.read("Setting", "Color", "255");
    state_.carvedColor = settingsTextToInt(color);
}

void Console::runClosing() {
    std::error_code ignored;
    std::filesystem::remove(paths_.programDirectory / kPreviewFileName, ignored);
    if (paths_.scratchProgramDirectory) {
        std::filesystem::remove(paths_.programDirectory, ignored);
    }

    settings_.write("MainWindow", "Burning_time",
                    intToSettingsText(window_.ui.BurningTimeSlider->position()));
}

void Console::openSettings() {
    openSettingsWindow({[this](std::uint8_t byte) { serialPort_->send(byte); }, showMessage,
                        [this](std::int32_t color) { state_.carvedColor = color; }, &settings_});
}

} // namespace vexilon
