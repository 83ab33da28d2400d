#pragma once

#include "link/serial/serial_open_error.h"

#include <QObject>

#include <cstdint>
#include <span>

namespace vexilon {

// The console's line to the machine, whatever carries it: the connection,
// the reply routing and the features talk to this, and the termios serial
// channel is one implementation (a test's in-memory line, or another
// system's port, can stand in). Every call is made on the window thread,
// where the signals are raised too.
class MachineLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The number used by the next open; numbers below 1 are stored as 1.
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;

    // Closes the link if open, then opens the port by its number. On
    // failure the link stays closed and openError() tells why.
    virtual bool open() = 0;
    // Drops every received byte not yet raised. Does nothing when closed.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual SerialOpenError openError() const = 0;

    // Writes the bytes and returns only when the write has ended. False at
    // once on a closed or hung-up link.
    virtual bool send(std::span<const std::uint8_t> bytes) = 0;
    bool send(std::uint8_t byte) { return send(std::span(&byte, 1)); }

    // Throws away what the port received and nobody has read yet: a stale
    // answer must not pass for the reply to a question about to be asked.
    // Sends never discard, so that no report of a running job is lost.
    virtual void discardInput() = 0;

signals:
    // Every received byte, one event each, in order.
    void dataArrived(int byte);
    // The port hung up; raised once, after every byte received before it.
    void hungUp();
};

} // namespace vexilon
