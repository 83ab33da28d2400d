#include "link/serial/serial_channel.h"

#include "link/serial/port_mapping.h"
#include "link/serial/serial_line_settings.h"
#include "link/serial/serial_watcher.h"
#include "ui/base/blocking_wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vexilon {
namespace {

// How long one slice of received bytes may hold the window thread, looked at
// every few entries.
constexpr qint64 kSliceMs = 8;
constexpr int kSliceCheck = 8;

QEvent::Type eventsWaitingType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// The window thread's own reminder to raise the rest of a backlog.
QEvent::Type goOnRaisingType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

SerialChannel::SerialChannel(std::filesystem::path portLinkDirectory, QObject* parent)
    : MachineLink(parent), linkDirectory_(std::move(portLinkDirectory)) {
    setObjectName(QStringLiteral("SerialPort"));
}

SerialChannel::~SerialChannel() {
    close();
}

void SerialChannel::setDeviceDirectory(std::filesystem::path directory) {
    deviceDirectory_ = std::move(directory);
}

void SerialChannel::setPortNumber(int number) {
    portNumber_ = number < 1 ? 1 : number;
}

bool SerialChannel::open() {
    close();
    const auto device = portDevicePath(portNumber_, linkDirectory_, deviceDirectory_);
    if (device.empty()) {
        return fail(SerialOpenError::NoSuchPort);
    }
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        return fail(serialOpenErrorFromErrno(errno));
    }
    // flock keeps out only programs that also call flock (another console,
    // most terminal programs); TIOCEXCL keeps out every other opener but root.
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0 || ioctl(fd_, TIOCEXCL) != 0) {
        return fail(serialOpenErrorFromErrno(errno));
    }
    exclusiveSet_ = true;
    if (const int error = configureConsoleLine(fd_); error != 0) {
        return fail(error == EINVAL ? SerialOpenError::Other : serialOpenErrorFromErrno(error));
    }
    raiseRts(fd_);
    (void)tcflush(fd_, TCIFLUSH);

    watcher_ = SerialWatcher::start(
        fd_, queue_, [this] { postNotice(); }, isRoutine_);
    if (!watcher_) {
        return fail(SerialOpenError::Other);
    }
    openError_ = SerialOpenError::None;
    return true;
}

bool SerialChannel::fail(SerialOpenError error) {
    close();
    openError_ = error;
    return false;
}

void SerialChannel::close() {
    watcher_.reset(); // joins the thread: nothing is queued or posted after this
    if (fd_ >= 0) {
        // A pseudo-terminal keeps the exclusive flag while its other side
        // lives: left set, it would refuse the next open by anyone but root.
        if (exclusiveSet_) {
            (void)ioctl(fd_, TIOCNXCL);
        }
        ::close(fd_);
        fd_ = -1;
        exclusiveSet_ = false;
    }
    queue_.clear();
    raising_.clear();
    QCoreApplication::removePostedEvents(this, eventsWaitingType());
    QCoreApplication::removePostedEvents(this, goOnRaisingType());
    goOnPosted_ = false;
}

bool SerialChannel::send(std::span<const std::uint8_t> bytes) {
    if (!watcher_) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    if (sending_) {
        return false; // only a window-system event could get here, and none sends
    }
    // An image takes seconds at the line rate: the windows go on painting
    // and answering the desktop meanwhile, and the console's events wait.
    const WindowThreadHold hold;
    sending_ = true;
    const bool sent = watcher_->write(bytes, [] { serveWindowSystem(); });
    sending_ = false;
    return sent;
}

void SerialChannel::discardInput() {
    if (fd_ >= 0) {
        (void)tcflush(fd_, TCIFLUSH);
    }
}

bool SerialChannel::isHungUp() const {
    return watcher_ && watcher_->hasEnded();
}

std::size_t SerialChannel::pendingEventCount() const {
    return queue_.size() + raising_.size();
}

// Called on the watcher thread; postEvent is safe from any thread, and the
// watcher is joined before this object goes away.
void SerialChannel::postNotice() {
    QCoreApplication::postEvent(this, new QEvent(eventsWaitingType()));
}

// One reminder at a time: were every slice to post its own, each would run a
// slice of its own, and a click would wait behind all of them.
void SerialChannel::postGoOn() {
    if (!std::exchange(goOnPosted_, true)) {
        QCoreApplication::postEvent(this, new QEvent(goOnRaisingType()));
    }
}

bool SerialChannel::event(QEvent* event) {
    if (event->type() == goOnRaisingType()) {
        goOnPosted_ = false;
    }
    if (event->type() == eventsWaitingType() || event->type() == goOnRaisingType()) {
        if (windowThreadHeld()) {
            resumeAfterHold(this, [this] { raisePending(); });
        } else {
            raisePending();
        }
        return true;
    }
    return QObject::event(event);
}

// A handler may close the channel (which empties raising_), destroy it, or
// run a nested event loop that comes back here; raising always from the
// front of raising_ keeps the order in all three cases. A flood is raised in
// slices, each followed by a turn of the event loop, so that a click waits
// for a slice at most, never for the whole backlog.
void SerialChannel::raisePending() {
    if (raising_.empty()) {
        bool resumeReading = false;
        for (const SerialEvent& entry : queue_.takeAll(&resumeReading)) {
            raising_.push_back(entry);
        }
        if (resumeReading && watcher_) {
            watcher_->resumeReading();
        }
    }
    const QPointer<SerialChannel> alive(this);
    QElapsedTimer slice;
    slice.start();
    for (int raised = 0; !raising_.empty(); ++raised) {
        if (raised % kSliceCheck == kSliceCheck - 1 && slice.elapsed() >= kSliceMs) {
            postGoOn(); // the rest after the event loop's turn
            return;
        }
        const SerialEvent entry = raising_.front();
        raising_.pop_front();
        raiseOne(entry);
        if (!alive) {
            return;
        }
    }
    // Bytes that came while raising_ was still being worked off had their
    // notice spent on this call.
    if (queue_.size() > 0) {
        postGoOn();
    }
}

void SerialChannel::raiseOne(const SerialEvent& entry) {
    switch (entry.kind) {
    case SerialEvent::Kind::Byte:
        emit dataArrived(entry.value);
        break;
    case SerialEvent::Kind::PortEvent:
        emit portEvent(entry.value);
        break;
    case SerialEvent::Kind::HangUp:
        emit hungUp();
        break;
    }
}

} // namespace vexilon
