#include "app/console.h"

#include "app/program_state.h"
#include "app/settings/settings_number.h"
#include "app/settings_window/open_settings_window.h"
#include "app/window/main_window.h"
#include "control/control_events.h"
#include "image/pipeline/prepared_image.h"
#include "link/serial_channel.h"
#include "ui/drop_target.h"
#include "ui/interval_timer.h"
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

Console::Console(MainWindow& window, ProgramState& state, ConsolePaths paths,
                 ShowMessage messageBox, BlockingWait wait)
    : window_(window), state_(state), paths_(std::move(paths)), settings_(paths_.settingsFile),
      showMessage_(messageBox ? std::move(messageBox) : ShowMessage(showMessage)),
      serialPort_(new SerialChannel(paths_.portLinkDirectory, &window)),
      runTimeClock_(*window.runTimeTimer(), *window.ui.RunTimeLabel),
      burningTime_(
          *window.ui.BurningTimeSlider, *window.ui.BurningTimeLabel,
          [this](std::uint8_t byte) { serialPort_->send(byte); },
          [this](const QString& text) { log(text); }),
      connection_(
          {window, *window.ui.ConnectButton, *window.ui.DisconnectButton, *window.ui.PortComboBox,
           *window.verifyTimer()},
          *serialPort_, [this](const QString& text) { log(text); }, showMessage_),
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
          [this](const QString& text) { log(text); }, wait),
      intake_(
          previewArea(window), state.pipelineValues(), window, runTimeClock_,
          paths_.programDirectory, [this](const QString& text) { log(text); }, showMessage_),
      editing_(previewArea(window), state.pipelineValues(), window, *window.ui.XCoordBox,
               *window.ui.YCoordBox, intake_, paths_.programDirectory),
      upload_(
          previewArea(window), state.imageBitmap, window, paths_.programDirectory,
          [this](const QString& text) { log(text); }, showMessage_,
          [this](std::span<const std::uint8_t> bytes) { return serialPort_->send(bytes); },
          std::move(wait)),
      jobTracker_(*window.ui.RunTimeLabel, [this] { return runTimeClock_.elapsedSeconds(); }) {
    serialPort_->setObjectName(QStringLiteral("SerialPort"));
    serialPort_->setDeviceDirectory(paths_.deviceDirectory);
    connect(&hotKeys_, &GlobalHotKeys::hotKey, &jogging_, &Jogging::hotKeyPressed);
    connect(&window_, &MainWindow::closing, this, &Console::runClosing);
    connect(window_.ui.SettingButton, &QPushButton::clicked, this, &Console::openSettings);
    wireImageButtons();
    wireJobTracker();
}

void Console::wireImageButtons() {
    intake_.listenTo(*window_.dropTarget());
    const Ui::MainWindow& ui = window_.ui;
    connect(ui.RotateButton, &QAbstractButton::clicked, &editing_, &ImageEditing::rotate);
    connect(ui.ZoomOutButton, &QAbstractButton::clicked, &editing_, &ImageEditing::zoomOut);
    connect(ui.ReloadButton, &QAbstractButton::clicked, &editing_, &ImageEditing::reload);
    connect(ui.ClearButton, &QAbstractButton::clicked, &editing_, &ImageEditing::clear);
    connect(ui.SendImageButton, &QAbstractButton::clicked, this, &Console::upload);
}

void Console::wireJobTracker() {
    JobTracker* tracker = &jobTracker_;
    connect(&jobControl_, &JobControl::started, tracker, &JobTracker::started);
    connect(&jobControl_, &JobControl::paused, tracker, &JobTracker::paused);
    connect(&jobControl_, &JobControl::restarted, tracker, &JobTracker::restarted);
    connect(&jobControl_, &JobControl::recarved, tracker, &JobTracker::recarved);
    connect(&replyRouting_, &ReplyRouting::dotReported, tracker, &JobTracker::dotReported);
    connect(&replyRouting_, &ReplyRouting::carvingStopped, tracker, &JobTracker::carvingStopped);
    connect(&connection_, &Connection::dropped, tracker, &JobTracker::connectionLost);
    connect(window_.runTimeTimer(), &IntervalTimer::tick, tracker, &JobTracker::refresh);
}

void Console::upload() {
    if (upload_.upload()) {
        jobTracker_.imageUploaded(blackDotCount(imageData(state_.imageBitmap)));
    }
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
    openSettingsWindow({[this](std::uint8_t byte) { serialPort_->send(byte); }, showMessage_,
                        [this](std::int32_t color) { state_.carvedColor = color; }, &settings_});
}

} // namespace vexilon
