#pragma once

#include "app/console.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "link/serial_channel.h"
#include "support/pseudo_terminal.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace vexilon::test_support {

// Polls `done` for up to ten seconds, handling the window thread's events.
template <class Condition> bool waitUntil(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        std::this_thread::yield();
    }
    return done();
}

// A console whose serial channel is open on COM1, a pseudo-terminal whose
// other end the test reads and writes as the machine.
class ConsoleOnTheLine : public ::testing::Test {
protected:
    void SetUp() override {
        console.serialPort().setPortNumber(1);
        ASSERT_TRUE(console.serialPort().open());
        logMark = logText().size();
    }

    QString logText() const { return window.ui.LogBox->toPlainText(); }
    // What the log gained since the last call, "\r\n" written as the pane
    // shows it.
    std::string newLog() {
        const QString text = logText();
        const QString added = text.mid(logMark);
        logMark = text.size();
        return added.toStdString();
    }
    static std::string shown(std::string text) {
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
            text.replace(at, 2, "\n");
        }
        return text;
    }
    std::vector<std::uint8_t> wire(std::size_t count) { return machine.read(count); }

    QTemporaryDir scratch;
    std::filesystem::path root{scratch.path().toStdString()};
    ConsolePaths paths{root / "config", root / "config" / "Config.ini", root / "ports",
                       root / "program"};
    PseudoTerminal machine{paths.portLinkDirectory, 1};
    ProgramState state;
    MainWindow window;
    Console console{window, state, paths};
    qsizetype logMark = 0;
};

} // namespace vexilon::test_support
