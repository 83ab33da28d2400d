#pragma once

#include "link/serial/serial_open_error.h"
#include "ui/base/services.h"

#include <QObject>
#include <QString>

#include <vector>

class QComboBox;
class QPushButton;

namespace vexilon {

class IntervalTimer;
class MachineLink;

// The controls the connection shows, hides and enables.
struct ConnectionControls {
    QPushButton& connectButton;
    QPushButton& disconnectButton;
    QComboBox& portComboBox;
    IntervalTimer& verifyTimer;
};

// Finds the machine and ties the console to it: the automatic scan over the
// port numbers, the verification (a verify request answered by verify OK
// before VerifyTimer's first tick), the manual connection from the port
// list, Break, and a port that hangs up under it. A port counts as the
// machine only once verified; only then are the machine controls enabled.
class Connection : public QObject {
    Q_OBJECT
public:
    // Sends go straight to `link`, which the connection opens and closes;
    // `services` gives it the log and the message box.
    Connection(ConnectionControls controls, MachineLink& link, Services services,
               QObject* parent = nullptr);

    // From the current port number up to 32: the first port that opens is
    // sent the verify request. Returns once that is sent, or once it has
    // said that no port opens.
    void scanAutomatically();

    // The machine answered verify OK, whether or not a verification was
    // pending.
    void verificationSucceeded();

    // ConnectButton and DisconnectButton.
    void connectManually();
    void disconnect();

    // The number of the port being tried or held; messages name it.
    int currentPortNumber() const { return currentPort_; }
    bool manualMode() const { return manualMode_; }

signals:
    // The machine answered: its controls open. Raised in the middle of the
    // success steps, where the machine controls change.
    void verified();
    // The link was dropped: the machine controls close. Raised where they
    // change, before the port list comes back.
    void disconnected();
    // Break, or the port hung up: the console no longer sees the machine.
    // Raised once the drop is complete.
    void dropped();

private:
    struct RefusedPort {
        int port;
        SerialOpenError cause;
    };

    void noteRefusal(std::vector<RefusedPort>& refused) const;
    void scanExhausted(const std::vector<RefusedPort>& refused);
    void verificationFailed();
    void connectionLost();
    void dropConnection(const QString& line);
    void sendVerifyRequest();

    ConnectionControls controls_;
    MachineLink& link_;
    Services services_;
    int currentPort_ = 0;
    bool manualMode_ = false;
};

} // namespace vexilon
