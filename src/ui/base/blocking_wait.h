#pragma once

#include <chrono>
#include <functional>

namespace vexilon {

// Blocks the calling (window) thread for the given time: events that arrive
// meanwhile wait and are handled afterwards, in order. Features take it as a
// value so that tests can count the waits instead of sitting through them.
using BlockingWait = std::function<void(std::chrono::milliseconds)>;

// The real wait: the thread sleeps, no event is handled.
BlockingWait realBlockingWait();

} // namespace vexilon
