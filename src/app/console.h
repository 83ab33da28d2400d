#pragma once

#include "app/settings/console_paths.h"
#include "app/settings/settings_store.h"

#include <QObject>

namespace vexilon {

class MainWindow;
struct ConsoleFeatures;
struct ProgramState;

// Binds the console's features to each other and to the main window: the
// start-up sequence once the window exists, the closing sequence when it
// goes, and every feature's news turned into what the rest must do (the
// machine controls' table, the clock, the position boxes, the job's
// progress). It does nothing of its own beyond that.
class Console : public QObject {
    Q_OBJECT
public:
    Console(MainWindow& window, ProgramState& state, ConsolePaths paths, ConsoleFeatures& features);

    // Runs on the window thread right after the window is shown, before any
    // other event of it is handled.
    void runStartUp();

    // Runs when the window is about to go.
    void runClosing();

private:
    void wireConnection();
    void wireJob();
    void wireImage();
    void wireJobTracker();
    void restoreSettings();
    void openSettings();

    MainWindow& window_;
    ProgramState& state_;
    ConsolePaths paths_;
    SettingsStore settings_;
    ConsoleFeatures& features_;
};

} // namespace vexilon
