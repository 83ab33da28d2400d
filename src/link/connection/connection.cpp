#include "link/connection/connection.h"

#include "link/connection/open_failure_text.h"
#include "link/protocol/command_bytes.h"
#include "link/serial/machine_link.h"
#include "ui/base/interval_timer.h"

#include <QComboBox>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace vexilon {
namespace {

// The port list holds "COM0" to "COM32"; the scan gives up past the last.
constexpr int kHighestPort = 32;
constexpr int kVerifyWaitMs = 1000;

QString number(int n) {
    return QString::number(n);
}

} // namespace

Connection::Connection(ConnectionControls controls, MachineLink& link, Services services,
                       QObject* parent)
    : QObject(parent), controls_(controls), link_(link), services_(std::move(services)) {
    connect(&controls_.connectButton, &QPushButton::clicked, this, &Connection::connectManually);
    connect(&controls_.disconnectButton, &QPushButton::clicked, this, &Connection::disconnect);
    connect(&controls_.verifyTimer, &IntervalTimer::tick, this, &Connection::verificationFailed);
    connect(&link_, &MachineLink::hungUp, this, &Connection::connectionLost);
}

void Connection::scanAutomatically() {
    std::vector<RefusedPort> refused;
    link_.setPortNumber(currentPort_);
    while (!link_.open()) {
        noteRefusal(refused);
        ++currentPort_;
        link_.setPortNumber(currentPort_);
        controls_.portComboBox.setCurrentIndex(currentPort_);
        if (currentPort_ > kHighestPort) {
            scanExhausted(refused);
            return;
        }
    }
    services_.log(QStringLiteral(">Findding COM") + number(currentPort_) +
                  QStringLiteral(" is Available\r\n"));
    services_.log(QStringLiteral(">Connected and Verifing...\r\n"));
    controls_.connectButton.setEnabled(false);
    controls_.disconnectButton.hide();
    controls_.portComboBox.show();
    sendVerifyRequest();
}

// A device that is there but would not open is the one worth naming: told
// only to plug the machine in, a user outside dialout would never find out.
// COM0 and COM1 open the same device, which is named once.
void Connection::noteRefusal(std::vector<RefusedPort>& refused) const {
    const int port = link_.portNumber();
    const SerialOpenError cause = link_.openError();
    const bool named = std::any_of(refused.begin(), refused.end(),
                                   [&](const RefusedPort& r) { return r.port == port; });
    const bool present =
        cause == SerialOpenError::PermissionDenied || cause == SerialOpenError::Busy;
    if (present && !named) {
        refused.push_back({port, cause});
    }
}

void Connection::scanExhausted(const std::vector<RefusedPort>& refused) {
    services_.message(QStringLiteral("Automatic Connection Failed ! No Port is Available"),
                      QStringLiteral("Information"));
    services_.log(QStringLiteral(">Pleas Connect the Machine to Computer with Mini-USB,Then "
                                 "Restart this Software.\r\n\r\n"));
    for (const RefusedPort& r : refused) {
        services_.log(openFailureText(r.cause, r.port));
    }
    controls_.portComboBox.show();
    controls_.disconnectButton.hide();
}

void Connection::verificationSucceeded() {
    services_.log(QStringLiteral(">Verify Success !\r\n"));
    services_.log(QStringLiteral(">Successfully Connected to the Engraving Machine at COM") +
                  number(currentPort_) + QStringLiteral("\r\n"));
    controls_.connectButton.setText(QStringLiteral("Connected"));
    controls_.connectButton.setEnabled(false);
    controls_.portComboBox.setCurrentIndex(currentPort_);
    controls_.portComboBox.hide();
    controls_.disconnectButton.show();
    emit verified();
    controls_.verifyTimer.setIntervalMs(0);
}

void Connection::verificationFailed() {
    controls_.verifyTimer.setIntervalMs(0);
    controls_.connectButton.setText(QStringLiteral("Connecting"));
    controls_.connectButton.setEnabled(true);
    services_.log(QStringLiteral(">Verify Failed \uFF01 Engraving Machine is not On COM ") +
                  number(currentPort_) + QStringLiteral("\r\n"));
    if (manualMode_) {
        link_.close();
        // Another port must be choosable, or only a restart would get the
        // user past a port that opens but is not the machine.
        controls_.portComboBox.show();
        controls_.connectButton.show();
        return;
    }
    services_.log(QStringLiteral(">Findding Next Available Port...\r\n\r\n"));
    link_.close();
    ++currentPort_;
    scanAutomatically();
}

void Connection::connectManually() {
    manualMode_ = true;
    // With no entry selected (after the scan ran past the list) the click
    // means the first entry, which opens port 1 as "COM0" does.
    currentPort_ = std::max(controls_.portComboBox.currentIndex(), 0);
    link_.setPortNumber(currentPort_);
    services_.log(QStringLiteral("Connecting...\r\n"));
    if (link_.open()) {
        services_.log(QStringLiteral("Connected to COM") + number(currentPort_) +
                      QStringLiteral("\r\n"));
        services_.log(QStringLiteral("Verifing...\r\n"));
        sendVerifyRequest();
        controls_.portComboBox.hide();
        return;
    }
    services_.message(QStringLiteral("This Port is Not Available"), QStringLiteral("ERROR"));
    services_.log(QStringLiteral(">Connection Failed !\r\n"));
    services_.log(QStringLiteral(">Change Anyother Port and Try Again\r\n"));
    services_.log(
        QStringLiteral(">Also You Can Restart the Softwear try Automatic Connection\r\n\r\n"));
    if (const QString cause = openFailureText(link_.openError(), currentPort_); !cause.isEmpty()) {
        services_.log(cause);
    }
}

void Connection::disconnect() {
    dropConnection(QStringLiteral("Disconnected Connection\r\n\r\n"));
}

// The operator must see that the machine went and be able to connect again;
// otherwise it is Break.
void Connection::connectionLost() {
    dropConnection(QStringLiteral(">Connection Lost ! COM") + number(currentPort_) +
                   QStringLiteral("\r\n"));
}

// VerifyTimer, the run-time clock, manual mode and the port number stay as
// they are.
void Connection::dropConnection(const QString& line) {
    link_.close();
    controls_.connectButton.setText(QStringLiteral("Connect"));
    controls_.connectButton.setEnabled(true);
    services_.log(line);
    emit disconnected();
    controls_.portComboBox.show();
    controls_.disconnectButton.hide();
    emit dropped();
}

// VerifyTimer starts just before the request, so that the second the machine
// has to answer includes the send. Given the interval it already has, the
// timer keeps its phase: a second click does not win the port more time.
void Connection::sendVerifyRequest() {
    controls_.verifyTimer.setIntervalMs(kVerifyWaitMs);
    link_.discardInput();
    link_.send(protocol::kVerifyRequest);
}

} // namespace vexilon
