#pragma once

#include "control/burning_time.h"
#include "control/hot_keys/global_hot_keys.h"
#include "control/job_control.h"
#include "control/jogging.h"
#include "control/position_display.h"
#include "control/progress/job_tracker.h"
#include "control/run_time_clock.h"
#include "image/view/image_editing.h"
#include "image/view/image_upload.h"
#include "image/view/picture_intake.h"
#include "image/view/picture_mode_menu.h"
#include "link/connection/connection.h"
#include "link/connection/reply_routing.h"
#include "ui/base/services.h"

namespace vexilon {

class MachineLink;
class MainWindow;
class SerialChannel;
struct ConsolePaths;
struct ProgramState;

// Everything the console does, each feature on the few controls it touches
// and one bundle of services. Made before the console that wires them, so
// that whoever makes them (the program, a test) can reach them.
struct ConsoleFeatures {
    ConsoleFeatures(MainWindow& window, ProgramState& state, const ConsolePaths& paths,
                    MachineLink& link, Services services);

    Services services;
    RunTimeClock clock;
    PositionDisplay position;
    BurningTime burningTime;
    Connection connection;
    ReplyRouting replyRouting;
    GlobalHotKeys hotKeys;
    JobControl jobControl;
    Jogging jogging;
    PictureIntake intake;
    PictureModeMenu pictureModeMenu;
    ImageEditing editing;
    ImageUpload upload;
    JobTracker jobTracker;
};

// "SerialPort": the serial channel on the console's places, a unit of the
// window that goes with it.
SerialChannel& makeSerialPort(MainWindow& window, const ConsolePaths& paths);

// The bundle every feature gets: the log pane of `window`, the message box
// (the real modal one unless given), sends on `link`, and the blocking wait.
Services consoleServices(MainWindow& window, MachineLink& link,
                         Services::ShowMessage messageBox = {},
                         BlockingWait wait = realBlockingWait());

} // namespace vexilon
