#include "app/console.h"

#include "app/console_features.h"
#include "app/picture_mode_settings.h"
#include "app/program_state.h"
#include "app/settings/settings_number.h"
#include "app/settings_window/open_settings_window.h"
#include "app/window/main_window.h"
#include "control/control_events.h"
#include "control/position_display.h"
#include "image/pipeline/prepared_image.h"
#include "ui/base/interval_timer.h"
#include "ui/drop_target.h"
#include "ui/slider_bar.h"
#include "ui/themed_drawing.h"

#include <QAbstractButton>
#include <QComboBox>

#include <system_error>

namespace vexilon {

Console::Console(MainWindow& window, ProgramState& state, ConsolePaths paths,
                 ConsoleFeatures& features)
    : window_(window), state_(state), paths_(std::move(paths)), settings_(paths_.settingsFile),
      features_(features) {
    // Each feature's news reaches its followers in the order connected here,
    // which is the order of the steps each event takes.
    wireConnection();
    wireJob();
    wireImage();
    wireJobTracker();
    connect(&window_, &MainWindow::closing, this, &Console::runClosing);
    connect(&window_.settingButton(), &QAbstractButton::clicked, this, &Console::openSettings);
}

void Console::wireConnection() {
    const auto controls = [this](ControlEvent event) {
        return [this, event] { applyControlEvent(window_, event); };
    };
    connect(&features_.connection, &Connection::verified, this, controls(ControlEvent::Verified));
    connect(&features_.connection, &Connection::disconnected, this,
            controls(ControlEvent::Disconnected));
    connect(&features_.replyRouting, &ReplyRouting::carvingStopped, &features_.clock,
            &RunTimeClock::stopTicking);
    connect(&features_.replyRouting, &ReplyRouting::dotReported, &features_.position,
            &PositionDisplay::show);
}

void Console::wireJob() {
    connect(&features_.jobControl, &JobControl::starting, this,
            [this] { applyControlEvent(window_, ControlEvent::Start); });
    connect(&features_.jobControl, &JobControl::restarting, this,
            [this] { applyControlEvent(window_, ControlEvent::Restart); });
    connect(&features_.hotKeys, &GlobalHotKeys::hotKey, &features_.jogging,
            &Jogging::hotKeyPressed);
}

void Console::wireImage() {
    features_.intake.listenTo(*window_.dropTarget());
    connect(&features_.pictureModeMenu, &PictureModeMenu::modeChosen, this,
            [this](const PictureMode& mode) {
                writePictureMode(settings_, state_.pictureMode, mode);
                features_.intake.changeMode(mode);
            });
    connect(&features_.intake, &PictureIntake::pictureTakenIn, this, [this] {
        applyControlEvent(window_, ControlEvent::PictureTakenIn);
        features_.clock.resetCounter();
        features_.clock.resetLabel();
    });
    connect(&features_.editing, &ImageEditing::cleared, this, [this] {
        applyControlEvent(window_, ControlEvent::Clear);
        features_.position.reset();
    });
    connect(&features_.upload, &ImageUpload::imageSent, this,
            [this] { applyControlEvent(window_, ControlEvent::UploadFinished); });

    const ImageButtons buttons = window_.imageButtons();
    ImageEditing* editing = &features_.editing;
    connect(&buttons.rotate, &QAbstractButton::clicked, editing, &ImageEditing::rotate);
    connect(&buttons.zoomOut, &QAbstractButton::clicked, editing, &ImageEditing::zoomOut);
    connect(&buttons.reload, &QAbstractButton::clicked, editing, &ImageEditing::reload);
    connect(&buttons.clear, &QAbstractButton::clicked, editing, &ImageEditing::clear);
    connect(&buttons.sendImage, &QAbstractButton::clicked, &features_.upload, &ImageUpload::upload);
}

void Console::wireJobTracker() {
    JobTracker* tracker = &features_.jobTracker;
    connect(&features_.jobControl, &JobControl::started, tracker, &JobTracker::started);
    connect(&features_.jobControl, &JobControl::paused, tracker, &JobTracker::paused);
    connect(&features_.jobControl, &JobControl::restarted, tracker, &JobTracker::restarted);
    connect(&features_.jobControl, &JobControl::recarved, tracker, &JobTracker::recarved);
    connect(&features_.replyRouting, &ReplyRouting::dotReported, tracker, &JobTracker::dotReported);
    connect(&features_.replyRouting, &ReplyRouting::carvingStopped, tracker,
            &JobTracker::carvingStopped);
    connect(&features_.connection, &Connection::dropped, tracker, &JobTracker::connectionLost);
    connect(&features_.upload, &ImageUpload::imageSent, tracker, &JobTracker::imageUploaded);
    connect(window_.runTimeTimer(), &IntervalTimer::tick, tracker, &JobTracker::refresh);
}

void Console::runStartUp() {
    const Services& services = features_.services;
    useThemedDrawing();
    window_.dropTarget()->registerWindow(&window_);
    applyControlEvent(window_, ControlEvent::StartUp);
    window_.connectionControls().portComboBox.hide();

    services.log(QStringLiteral("        Welcome(^_^)\r\n\r\n"));
    services.log(QStringLiteral("Drag the picture to this window to start your engraving\r\n\r\n"));
    services.log(QStringLiteral("Tips:Optimal size of image is 500*500\r\n\r\n"));
    services.log(QStringLiteral("Automatic Connecting...\r\n"));

    features_.connection.scanAutomatically();

    if (paths_.settingsInMemory()) {
        services.log(QStringLiteral("No home directory: settings are kept for this run only\r\n"));
    } else {
        // A fresh account may lack even ~/.config, so the parents come too.
        std::error_code ignored;
        std::filesystem::create_directories(paths_.settingsDirectory, ignored);
    }

    restoreSettings();
}

void Console::restoreSettings() {
    const std::string burningTime = settings_.read(settings_keys::kBurningTime);
    window_.burningTimeSlider().setPosition(settingsTextToInt(burningTime));
    features_.burningTime.show();

    state_.carvedColour = settingsTextToInt(settings_.read(settings_keys::kCarvedColour));
    state_.pictureMode = readPictureMode(settings_);
    features_.pictureModeMenu.setMode(state_.pictureMode);
}

void Console::runClosing() {
    std::error_code ignored;
    std::filesystem::remove(paths_.programDirectory / kPreviewFileName, ignored);
    if (paths_.scratchProgramDirectory) {
        std::filesystem::remove(paths_.programDirectory, ignored);
    }

    settings_.write(settings_keys::kBurningTime,
                    intToSettingsText(window_.burningTimeSlider().position()));
}

void Console::openSettings() {
    openSettingsWindow({features_.services,
                        [this](std::int32_t colour) { state_.carvedColour = colour; }, &settings_});
}

} // namespace vexilon
