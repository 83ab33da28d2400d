#pragma once

#include "app/console_paths.h"
#include "control/burning_time.h"
#include "control/run_time_clock.h"
#include "image/console/image_editing.h"
#include "image/console/image_upload.h"
#include "image/console/picture_intake.h"
#include "ui/blocking_wait.h"

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
    // `wait` blocks the window thread (the pause after erase image); tests
    // that drive the whole console pass one that does not sit it out.
    Console(MainWindow& window, ProgramState& state, ConsolePaths paths,
            BlockingWait wait = realBlockingWait());

    // Runs on the window thread right after the window is shown, before any
    // other event of it is handled.
    void runStartUp();

    // Runs when the window is about to go.
    void runClosing();

    void log(const QString& text);

    SerialChannel& serialPort() { return *serialPort_; }
    RunTimeClock& runTimeClock() { return runTimeClock_; }
    PictureIntake& pictureIntake() { return intake_; }

private:
    void wireImageButtons();
    void connectAutomatically();
    void restoreSettings();

    MainWindow& window_;
    ProgramState& state_;
    ConsolePaths paths_;
    SerialChannel* serialPort_; // a unit of the window: it goes with it
    RunTimeClock runTimeClock_;
    BurningTime burningTime_;
    PictureIntake intake_;
    ImageEditing editing_;
    ImageUpload upload_;
};

} // namespace vexilon
