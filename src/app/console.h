#pragma once

#include "app/console_paths.h"
#include "app/reply_routing.h"
#include "app/settings/settings_store.h"
#include "control/burning_time.h"
#include "control/connection/connection.h"
#include "control/job_control.h"
#include "control/jogging.h"
#include "control/progress/job_tracker.h"
#include "control/run_time_clock.h"
#include "image/console/image_editing.h"
#include "image/console/image_upload.h"
#include "image/console/picture_intake.h"
#include "ui/blocking_wait.h"
#include "ui/global_hot_keys.h"

#include <QObject>
#include <QString>

namespace vexilon {

class MainWindow;
class SerialChannel;
struct ProgramState;

// Binds the console's behaviour to the main window: the start-up sequence
// once the window exists, the closing sequence when it goes, and the
// handlers of its controls.
class Console : public QObject {
    Q_OBJECT
public:
    using ShowMessage = std::function<void(const QString& text, const QString& caption)>;

    // Message boxes go through `messageBox`, the real modal box by default;
    // `wait` blocks the window thread (after a jog, after erase image). Tests
    // that drive the whole console pass their own.
    Console(MainWindow& window, ProgramState& state, ConsolePaths paths,
            ShowMessage messageBox = {}, BlockingWait wait = realBlockingWait());

    // Runs on the window thread right after the window is shown, before any
    // other event of it is handled.
    void runStartUp();

    // Runs when the window is about to go.
    void runClosing();

    void log(const QString& text);

    SerialChannel& serialPort() { return *serialPort_; }
    RunTimeClock& runTimeClock() { return runTimeClock_; }
    Connection& connection() { return connection_; }
    ReplyRouting& replyRouting() { return replyRouting_; }
    Jogging& jogging() { return jogging_; }
    PictureIntake& pictureIntake() { return intake_; }
    JobTracker& jobTracker() { return jobTracker_; }

private:
    void wireImageButtons();
    void wireJobTracker();
    void connectAutomatically();
    void restoreSettings();
    void openSettings();
    void upload();

    MainWindow& window_;
    ProgramState& state_;
    ConsolePaths paths_;
    SettingsStore settings_;
    ShowMessage showMessage_;
    SerialChannel* serialPort_; // a unit of the window: it goes with it
    RunTimeClock runTimeClock_;
    BurningTime burningTime_;
    Connection connection_;
    ReplyRouting replyRouting_;
    GlobalHotKeys hotKeys_;
    JobControl jobControl_;
    Jogging jogging_;
    PictureIntake intake_;
    ImageEditing editing_;
    ImageUpload upload_;
    JobTracker jobTracker_;
};

} // namespace vexilon
