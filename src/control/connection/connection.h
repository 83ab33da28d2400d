#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QPushButton;
class QWidget;

namespace vexilon {

class IntervalTimer;
class SerialChannel;

// The controls the connection shows, hides and enables, and the window whose
// machine controls it switches as a group.
struct ConnectionControls {
    QWidget& window;
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
    using Log = std::function<void(const QString&)>;
    using ShowMessage = std::function<void(const QString& text, const QString& caption)>;

    Connection(ConnectionControls controls, SerialChannel& channel, Log log,
               ShowMessage showMessage, QObject* parent = nullptr);

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
    // Break, or the port hung up: the console no longer sees the machine.
    void dropped();

private:
    void verificationFailed();
    void connectionLost();
    void dropConnection(const QString& line);
    void sendVerifyRequest();

    ConnectionControls controls_;
    SerialChannel& channel_;
    Log log_;
    ShowMessage showMessage_;
    int currentPort_ = 0;
    bool manualMode_ = false;
};

} // namespace vexilon
