#include "ui/base/blocking_wait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

namespace vexilon {
namespace {

// One screen frame: painting during a wait looks live, and the thread
// spends its time asleep.
constexpr std::chrono::milliseconds kServeInterval{10};

// A drop is not queued with the rest of the user's input (it arrives as
// window-system messages), yet taking a picture in during an upload would
// change what is being sent: it is refused while the thread is held.
class HeldEventFilter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            event->ignore();
            return true;
        default:
            return false;
        }
    }
};

struct Resumption {
    QPointer<QObject> context;
    std::function<void()> work;
};

struct HoldState {
    int depth = 0;
    std::vector<Resumption> resumptions;
    HeldEventFilter filter;
};

HoldState& holdState() {
    static HoldState state;
    return state;
}

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

} // namespace

WindowThreadHold::WindowThreadHold() {
    HoldState& state = holdState();
    if (state.depth++ == 0 && onApplicationThread()) {
        QCoreApplication::instance()->installEventFilter(&state.filter);
    }
}

WindowThreadHold::~WindowThreadHold() {
    HoldState& state = holdState();
    if (--state.depth > 0) {
        return;
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(&state.filter);
    }
    for (Resumption& r : std::exchange(state.resumptions, {})) {
        if (r.context) {
            QMetaObject::invokeMethod(r.context, std::move(r.work), Qt::QueuedConnection);
        }
    }
}

bool windowThreadHeld() {
    return holdState().depth > 0;
}

void resumeAfterHold(QObject* context, std::function<void()> work) {
    holdState().resumptions.push_back({context, std::move(work)});
}

void serveWindowSystem() {
    if (onApplicationThread()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers |
                                        QEventLoop::X11ExcludeTimers);
    }
}

BlockingWait realBlockingWait() {
    return [](std::chrono::milliseconds time) {
        const WindowThreadHold hold;
        const auto deadline = std::chrono::steady_clock::now() + time;
        for (;;) {
            serveWindowSystem();
            const auto left = deadline - std::chrono::steady_clock::now();
            if (left <= std::chrono::steady_clock::duration::zero()) {
                return;
            }
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(left, kServeInterval));
        }
    };
}

} // namespace vexilon
