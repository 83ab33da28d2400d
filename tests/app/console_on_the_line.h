#pragma once

#include "app/console_rig.h"
#include "link/serial/serial_channel.h"
#include "support/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <string>

namespace vexilon::test_support {

// A console whose serial channel is open on COM1, a pseudo-terminal whose
// other end the test reads and writes as the machine.
class ConsoleOnTheLine : public ::testing::Test, protected ConsoleRig {
protected:
    void SetUp() override {
        console.port.setPortNumber(1);
        ASSERT_TRUE(console.port.open());
        logMark = log().size();
    }

    // What the log gained since the last call.
    std::string newLog() {
        const QString text = log();
        const QString added = text.mid(logMark);
        logMark = text.size();
        return added.toStdString();
    }
    std::vector<std::uint8_t> wire(std::size_t count) { return machine.read(count); }

    PseudoTerminal machine{ports, 1};
    qsizetype logMark = 0;
};

} // namespace vexilon::test_support
