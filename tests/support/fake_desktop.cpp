#include "support/fake_desktop.h"

#include <QDBusConnection>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vexilon::test_support {
namespace {

const QString kBusName = QStringLiteral("fake-desktop");

} // namespace

FakeDesktop::FakeDesktop(Services services) : services_(services) {}

FakeDesktop::~FakeDesktop() {
    quit();
    wait();
    for (int fd : record.logindLocks) {
        ::close(fd);
    }
}

void FakeDesktop::pointSystemBusAtSessionBus() {
    if (const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        setenv("DBUS_SYSTEM_BUS_ADDRESS", session, 1);
    }
}

void FakeDesktop::startAndWait() {
    start();
    while (!ready_) {
        std::this_thread::yield();
    }
}

void FakeDesktop::run() {
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, kBusName);
        FakeLogind logind(record);
        FakePowerManagement power(record);
        FakeNotifications notifications(record);
        LauncherListener listener(record);
        const auto exported = QDBusConnection::ExportAllSlots;
        if (services_.logind) {
            bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind, exported);
            bus.registerService(QStringLiteral("org.freedesktop.login1"));
        }
        if (services_.powerManagement) {
            bus.registerObject(QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"), &power,
                               exported);
            bus.registerService(QStringLiteral("org.freedesktop.PowerManagement"));
        }
        if (services_.notifications) {
            bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                               exported);
            bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
        }
        bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                    QStringLiteral("Update"), &listener, SLOT(Update(QString, QVariantMap)));
        ready_ = true;
        exec();
    }
    QDBusConnection::disconnectFromBus(kBusName);
}

bool FakeDesktop::logindLockHeld(std::size_t index) {
    int fd = -1;
    {
        std::lock_guard lock(record.mutex);
        if (index >= record.logindLocks.size()) {
            return false;
        }
        fd = record.logindLocks[index];
    }
    pollfd p{fd, POLLIN, 0};
    // The other end closed by everyone who had it: hang-up (or end of file).
    return poll(&p, 1, 0) == 0;
}

std::vector<DesktopRecord::Notice> FakeDesktop::notices() {
    std::lock_guard lock(record.mutex);
    return record.notices;
}

std::vector<DesktopRecord::Progress> FakeDesktop::launcher() {
    std::lock_guard lock(record.mutex);
    return record.launcher;
}

QDBusUnixFileDescriptor FakeLogind::Inhibit(const QString&, const QString&, const QString&,
                                            const QString&) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    {
        std::lock_guard lock(record_.mutex);
        ++record_.inhibits;
        record_.logindLocks.push_back(ends[0]);
    }
    QDBusUnixFileDescriptor handed(ends[1]); // a duplicate travels; ours closes here
    ::close(ends[1]);
    return handed;
}

uint FakePowerManagement::Inhibit(const QString&, const QString&) {
    std::lock_guard lock(record_.mutex);
    return static_cast<uint>(++record_.inhibits) + 100;
}

void FakePowerManagement::UnInhibit(uint) {
    std::lock_guard lock(record_.mutex);
    ++record_.uninhibits;
}

uint FakeNotifications::Notify(const QString&, uint, const QString&, const QString& summary,
                               const QString& body, const QStringList&, const QVariantMap&, int) {
    std::lock_guard lock(record_.mutex);
    record_.notices.push_back({summary, body});
    return static_cast<uint>(record_.notices.size());
}

void LauncherListener::Update(const QString&, const QVariantMap& properties) {
    std::lock_guard lock(record_.mutex);
    record_.launcher.push_back({properties.value(QStringLiteral("progress")).toDouble(),
                                properties.value(QStringLiteral("progress-visible")).toBool()});
}

} // namespace vexilon::test_support
