#include "ui/base/blocking_wait.h"

#include <thread>

namespace vexilon {

BlockingWait realBlockingWait() {
    return [](std::chrono::milliseconds time) { std::this_thread::sleep_for(time); };
}

} // namespace vexilon
