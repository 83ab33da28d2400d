#pragma once

#include <chrono>
#include <functional>

class QObject;

namespace vexilon {

// Blocks the calling (window) thread for the given time: events of the
// console that arrive meanwhile wait and are handled afterwards, in order.
// Features take it as a value so that tests can count the waits instead of
// sitting through them.
using BlockingWait = std::function<void(std::chrono::milliseconds)>;

// The real wait: the window thread is held (below) for the whole time.
BlockingWait realBlockingWait();

// While the window thread is held (a blocking wait, a long send) the windows
// keep painting and answering the window manager, so that no desktop offers
// to kill a console in the middle of an upload. Nothing of the console's own
// runs then: user input (the title bar's close button included) and timers
// stay queued, a drop is refused, and work that cannot stay queued by itself
// (received bytes, hot keys) asks to be resumed afterwards.
class WindowThreadHold {
public:
    WindowThreadHold();
    ~WindowThreadHold();
    WindowThreadHold(const WindowThreadHold&) = delete;
    WindowThreadHold& operator=(const WindowThreadHold&) = delete;
};

bool windowThreadHeld();

// Queues `work` on `context`'s thread for when the last hold ends (dropped if
// `context` is gone by then). Only while held.
void resumeAfterHold(QObject* context, std::function<void()> work);

// One turn of the window system's events allowed while held. Does nothing
// off the application's thread or without an application.
void serveWindowSystem();

} // namespace vexilon
