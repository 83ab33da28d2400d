// A machine plugged in that the user may not open: the commonest cause on a
// fresh Linux desktop, where only members of dialout may use serial devices.

#include "support/qt_environment.h"

#include "link/connection/connection.h"
#include "link/connection/open_failure_text.h"
#include "link/serial/serial_channel.h"
#include "ui/base/interval_timer.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

TEST(ConnectionAsOrdinaryUser, ScanAndManualConnectNameTheDeviceThatWouldNotOpen) {
    ASSERT_NE(::geteuid(), 0u) << "root opens every device: run through as_ordinary_user.sh";
    QTemporaryDir scratch;
    const fs::path root = scratch.path().toStdString();
    fs::create_directories(root / "dev");
    fs::create_directories(root / "ports");
    std::ofstream(root / "dev" / "ttyUSB0").put('\0');
    fs::permissions(root / "dev" / "ttyUSB0", fs::perms::none);

    SerialChannel channel(root / "ports");
    channel.setDeviceDirectory(root / "dev");
    QPushButton connectButton;
    QPushButton disconnectButton;
    QComboBox ports;
    for (int n = 0; n <= 32; ++n) {
        ports.addItem(QStringLiteral("COM%1").arg(n));
    }
    IntervalTimer verifyTimer;
    QString log;
    std::vector<QString> boxes;
    const Services services{[&](const QString& text) { log += text; },
                            [&](const QString& text, const QString&) {
                                boxes.push_back(text);
                                log += QStringLiteral("[box]");
                            },
                            {},
                            {}};
    Connection connection({connectButton, disconnectButton, ports, verifyTimer}, channel, services);
    const QString cause = openFailureText(SerialOpenError::PermissionDenied, 1);
    ASSERT_TRUE(cause.contains(QStringLiteral("dialout")));

    connection.scanAutomatically();
    EXPECT_EQ(boxes, std::vector<QString>{
                         QStringLiteral("Automatic Connection Failed ! No Port is Available")});
    EXPECT_EQ(log, QStringLiteral("[box]>Pleas Connect the Machine to Computer with Mini-USB,Then "
                                  "Restart this Software.\r\n\r\n") +
                       cause);

    log.clear();
    ports.setCurrentIndex(1);
    connectButton.click();
    EXPECT_TRUE(log.endsWith(cause)) << log.toStdString();
    EXPECT_FALSE(channel.isOpen());
}

} // namespace
} // namespace vexilon
