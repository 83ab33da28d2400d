#pragma once

#include "link/serial/machine_link.h"
#include "link/serial/serial_event_queue.h"
#include "link/serial/serial_open_error.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <span>

namespace vexilon {

class SerialWatcher;

// The console's one path to the machine: a serial port opened by its COM
// number with the fixed line settings (57600 baud, 8N1, no flow control, RTS
// raised). It lives on the window thread; every call below is made there.
// Every received byte is raised there as a dataArrived event of its own, in
// order; a watcher thread, the only one that touches the port, hands them over.
class SerialChannel : public MachineLink {
    Q_OBJECT

public:
    // `portLinkDirectory` holds the links "COM<n>" that pin devices to numbers.
    explicit SerialChannel(std::filesystem::path portLinkDirectory, QObject* parent = nullptr);
    ~SerialChannel() override;

    // Where the USB serial devices are looked for ("/dev" unless changed).
    void setDeviceDirectory(std::filesystem::path directory);

    // Bytes whose arrival may wait for the next screen frame (a flow of
    // position reports); every other byte is raised as soon as it comes,
    // with all that came before it. Unset, every byte is raised at once.
    // Taken by the next open.
    using ByteTest = bool (*)(std::uint8_t);
    void setRoutineBytes(ByteTest isRoutine) { isRoutine_ = isRoutine; }

    // The number used by the next open; numbers below 1 are stored as 1.
    void setPortNumber(int number) override;
    int portNumber() const override { return portNumber_; }

    // Closes the channel if open, then opens the port exclusively, sets the
    // line, discards pending input and starts the watcher. On failure the
    // channel stays closed and openError() tells why.
    bool open() override;

    // Stops the watcher, closes the port and drops every received byte and
    // port event not yet raised. Does nothing on a closed channel.
    void close() override;

    // Writes the bytes and returns only when the write has ended, without
    // raising events meanwhile (the window thread is held, see
    // WindowThreadHold). False at once on a closed or hung-up channel;
    // an empty send on an open channel succeeds without writing.
    bool send(std::span<const std::uint8_t> bytes) override;
    using MachineLink::send;

    // Input the watcher has not read yet; what it already handed over stays.
    void discardInput() override;

    bool isOpen() const override { return watcher_ != nullptr; }

    // True when the port hung up (a cable pulled, the peer gone) since it was
    // opened; sends fail until the channel is closed and opened again.
    bool isHungUp() const;

    SerialOpenError openError() const override { return openError_; }

    // Received bytes and port events waiting to be raised.
    std::size_t pendingEventCount() const;

signals:
    // The channel stays open after hungUp (and sends fail) until it is closed.
    void portEvent(int code);

protected:
    bool event(QEvent* event) override;

private:
    bool fail(SerialOpenError error);
    void postNotice();
    void postGoOn();
    void raisePending();
    void raiseOne(const SerialEvent& entry);

    std::filesystem::path linkDirectory_;
    std::filesystem::path deviceDirectory_ = "/dev";
    int portNumber_ = 1;
    int fd_ = -1;
    // The exclusive flag belongs to the terminal, not to our descriptor:
    // clearing one we did not set would open another console's port to all.
    bool exclusiveSet_ = false;
    bool sending_ = false;
    bool goOnPosted_ = false;
    SerialOpenError openError_ = SerialOpenError::None;
    ByteTest isRoutine_ = nullptr;
    SerialEventQueue queue_;
    std::deque<SerialEvent> raising_; // taken from the queue, not yet raised
    std::unique_ptr<SerialWatcher> watcher_;
};

} // namespace vexilon
