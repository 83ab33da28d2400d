#pragma once

#include "ui/base/blocking_wait.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

namespace vexilon {

// What a feature may ask of the console around it: a line in the log, a
// message box, bytes to the machine, a blocking wait. Features hold a copy
// and never see the window or the channel, so that a test can hand them its
// own.
struct Services {
    using Log = std::function<void(const QString& text)>;
    using ShowMessage = std::function<void(const QString& text, const QString& caption)>;
    // True when every byte was written.
    using Send = std::function<bool(std::span<const std::uint8_t> bytes)>;

    Log logLine;
    ShowMessage showMessage;
    Send sendBytes;
    BlockingWait waitFor;

    void log(const QString& text) const { logLine(text); }
    void message(const QString& text, const QString& caption) const { showMessage(text, caption); }
    bool send(std::span<const std::uint8_t> bytes) const { return sendBytes(bytes); }
    bool send(std::uint8_t byte) const { return sendBytes(std::span(&byte, 1)); }
    void wait(std::chrono::milliseconds time) const { waitFor(time); }
};

} // namespace vexilon
