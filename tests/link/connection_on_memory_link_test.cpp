// The connection and the reply routing on a line held in memory: the link
// interface is all they need, no port and no pseudo-terminal.

#include "support/qt_environment.h"

#include "link/connection/connection.h"
#include "link/connection/open_failure_text.h"
#include "link/connection/reply_routing.h"
#include "link/serial/machine_link.h"
#include "ui/base/interval_timer.h"
#include "ui/draw_panel.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace vexilon {
namespace {

// Ports that answer when opened, what was sent, and the machine's replies.
class MemoryLink : public MachineLink {
public:
    std::set<int> present;
    std::map<int, SerialOpenError> refusing; // devices there but not to be opened
    std::vector<std::uint8_t> sent;
    int discards = 0;

    void setPortNumber(int number) override { number_ = std::max(number, 1); }
    int portNumber() const override { return number_; }
    bool open() override {
        open_ = present.count(number_) > 0;
        return open_;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    SerialOpenError openError() const override {
        if (open_) {
            return SerialOpenError::None;
        }
        const auto refused = refusing.find(number_);
        return refused == refusing.end() ? SerialOpenError::NoSuchPort : refused->second;
    }
    void discardInput() override { discards += open_ ? 1 : 0; }
    bool send(std::span<const std::uint8_t> bytes) override {
        if (open_) {
            sent.insert(sent.end(), bytes.begin(), bytes.end());
        }
        return open_;
    }
    using MachineLink::send;

    void reply(std::initializer_list<int> bytes) {
        for (const int byte : bytes) {
            emit dataArrived(byte);
        }
    }

private:
    int number_ = 1;
    bool open_ = false;
};

TEST(ConnectionOnMemoryLink, ScansVerifiesRoutesRepliesAndDropsOnAHangUp) {
    QPushButton connectButton;
    QPushButton disconnectButton;
    QComboBox ports;
    for (int n = 0; n <= 32; ++n) {
        ports.addItem(QStringLiteral("COM%1").arg(n));
    }
    IntervalTimer verifyTimer;
    DrawPanel canvas;
    canvas.resize(512, 512);
    const std::int32_t carvedColour = 0x0000FF; // red
    MemoryLink link;
    link.present = {3};
    QString log;
    const Services services{[&](const QString& text) { log += text; }, {}, {}, {}};
    Connection connection({connectButton, disconnectButton, ports, verifyTimer}, link, services);
    ReplyRouting routing(link, {canvas, connection, carvedColour}, services);
    QSignalSpy verified(&connection, &Connection::verified);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    QSignalSpy dropped(&connection, &Connection::dropped);
    QSignalSpy dots(&routing, &ReplyRouting::dotReported);
    QSignalSpy stopped(&routing, &ReplyRouting::carvingStopped);

    connection.scanAutomatically();
    EXPECT_EQ(link.portNumber(), 3);
    EXPECT_EQ(link.sent, std::vector<std::uint8_t>{246});
    EXPECT_EQ(link.discards, 1); // a stale verify OK must not pass for the answer
    EXPECT_TRUE(verifyTimer.isRunning());

    link.reply({101, 255, 1, 2, 3, 4, 102});
    EXPECT_EQ(verified.count(), 1);
    EXPECT_FALSE(verifyTimer.isRunning());
    EXPECT_EQ(connectButton.text(), QStringLiteral("Connected"));
    EXPECT_TRUE(log.contains(
        QStringLiteral(">Successfully Connected to the Engraving Machine at COM3\r\n")));
    // The reply after a report shows its dot once more.
    ASSERT_EQ(dots.count(), 2);
    EXPECT_TRUE(dots.at(0) == (QList<QVariant>{102, 304}) && dots.at(1) == dots.at(0));
    EXPECT_EQ(canvas.inkLayer().pixel(102, 304), qRgb(255, 0, 0));
    EXPECT_EQ(stopped.count(), 1);

    emit link.hungUp();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(disconnected.count(), 1);
    EXPECT_EQ(dropped.count(), 1);
    EXPECT_TRUE(log.endsWith(QStringLiteral(">Connection Lost ! COM3\r\n")));
    EXPECT_EQ(connectButton.text(), QStringLiteral("Connect"));
}

// Four numbers, three devices: COM0 and COM1 are the same one.
TEST(ConnectionOnMemoryLink, AFailedScanNamesEachDeviceThatWouldNotOpen) {
    QPushButton connectButton;
    QPushButton disconnectButton;
    QComboBox ports;
    IntervalTimer verifyTimer;
    MemoryLink link;
    link.refusing = {{1, SerialOpenError::PermissionDenied}, {4, SerialOpenError::Busy}};
    QString log;
    std::vector<QString> boxes;
    const Services services{[&](const QString& text) { log += text; },
                            [&](const QString& text, const QString&) {
                                boxes.push_back(text);
                                log += QStringLiteral("[box]");
                            },
                            {},
                            {}};
    Connection connection({connectButton, disconnectButton, ports, verifyTimer}, link, services);

    connection.scanAutomatically();
    EXPECT_EQ(boxes, std::vector<QString>{
                         QStringLiteral("Automatic Connection Failed ! No Port is Available")});
    EXPECT_EQ(log, QStringLiteral("[box]>Pleas Connect the Machine to Computer with Mini-USB,Then "
                                  "Restart this Software.\r\n\r\n") +
                       openFailureText(SerialOpenError::PermissionDenied, 1) +
                       openFailureText(SerialOpenError::Busy, 4));
    EXPECT_TRUE(log.contains(QStringLiteral("dialout")));
}

// A port that opens but never answers must not leave the user stuck on it.
TEST(ConnectionOnMemoryLink, AFailedManualVerificationLetsAnotherPortBeChosen) {
    QWidget window;
    auto* connectButton = new QPushButton(&window);
    auto* disconnectButton = new QPushButton(&window);
    auto* ports = new QComboBox(&window);
    for (int n = 0; n <= 32; ++n) {
        ports->addItem(QStringLiteral("COM%1").arg(n));
    }
    IntervalTimer verifyTimer;
    MemoryLink link;
    link.present = {2, 5};
    const Services services{[](const QString&) {}, {}, {}, {}};
    Connection connection({*connectButton, *disconnectButton, *ports, verifyTimer}, link, services);
    window.show();
    disconnectButton->hide();

    ports->setCurrentIndex(2);
    connectButton->click();
    EXPECT_TRUE(ports->isHidden());
    emit verifyTimer.tick();
    EXPECT_FALSE(ports->isHidden());
    EXPECT_FALSE(connectButton->isHidden());
    EXPECT_TRUE(connectButton->isEnabled());
    EXPECT_TRUE(disconnectButton->isHidden());

    ports->setCurrentIndex(5);
    connectButton->click();
    EXPECT_EQ(link.portNumber(), 5);
    EXPECT_EQ(link.sent, (std::vector<std::uint8_t>{246, 246}));
}

} // namespace
} // namespace vexilon
