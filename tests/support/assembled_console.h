#pragma once

#include "app/console.h"
#include "app/console_features.h"
#include "app/window/main_window.h"
#include "link/serial/serial_channel.h"

#include <utility>

namespace vexilon::test_support {

// The console put together as the program puts it together, on the given
// places, with its message boxes handed to `messageBox`. Tests reach each
// feature through `features` and the serial port through `port`.
struct AssembledConsole {
    AssembledConsole(MainWindow& window, ProgramState& state, const ConsolePaths& paths,
                     Services::ShowMessage messageBox = {}, BlockingWait wait = realBlockingWait())
        : port(makeSerialPort(window, paths)),
          features(window, state, paths, port,
                   consoleServices(window, port, std::move(messageBox), std::move(wait))),
          console(window, state, paths, features) {}

    void runStartUp() { console.runStartUp(); }

    SerialChannel& port;
    ConsoleFeatures features;
    Console console;
};

} // namespace vexilon::test_support
