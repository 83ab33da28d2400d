#pragma once

#include "support/assembled_console.h"
#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/console.h"
#include "app/program_state.h"
#include "app/window/main_window.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

namespace vexilon::test_support {

// A console on scratch directories (no device directory of the machine's own,
// so a plugged-in USB serial device stays out) whose message boxes are
// recorded instead of shown; tests link their ports into `ports`. The window
// thread blocks for real unless a fixture passes a wait of its own.
struct ConsoleRig {
    struct Message {
        QString text;
        QString caption;
        int sliderPosition; // BurningTimeSlider when the box came up
    };

    QTemporaryDir scratch;
    std::filesystem::path root{scratch.path().toStdString()};
    ConsolePaths paths{root / "config", root / "config" / "Config.ini", root / "ports",
                       root / "program", root / "dev"};
    std::filesystem::path& ports = paths.portLinkDirectory;
    ProgramState state;
    MainWindow window;
    std::vector<Message> messages;
    BlockingWait wait;
    test_support::AssembledConsole console{
        window, state, paths,
        [this](const QString& text, const QString& caption) {
            messages.push_back(
                {text, caption, test_support::controlsOf(window).BurningTimeSlider->position()});
        },
        wait};

    explicit ConsoleRig(BlockingWait blockingWait = realBlockingWait())
        : wait(std::move(blockingWait)) {
        std::filesystem::create_directories(ports);
        std::filesystem::create_directories(paths.programDirectory);
    }

    // The log pane with "\r\n" folded to "\n".
    QString log() const { return test_support::controlsOf(window).LogBox->toPlainText(); }
};

// Handles window-thread events until `done` holds or `limit` passes.
template <class Condition>
bool waitUntil(Condition done, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

} // namespace vexilon::test_support
