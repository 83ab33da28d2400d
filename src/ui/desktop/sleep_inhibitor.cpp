#include "ui/desktop/sleep_inhibitor.h"

#include "ui/desktop/desktop_identity.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace vexilon {
namespace {

// An answer slower than this means a service in trouble; the job goes on
// without the lock rather than freezing the window.
constexpr int kCallTimeoutMs = 1000;

struct Service {
    QString name;
    QString path;
    QString interface;
};

Service serviceOf(SleepInhibitor::Holder holder) {
    if (holder == SleepInhibitor::Holder::PowerManagement) {
        return {QStringLiteral("org.freedesktop.PowerManagement"),
                QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                QStringLiteral("org.freedesktop.PowerManagement.Inhibit")};
    }
    return {QStringLiteral("org.freedesktop.ScreenSaver"),
            QStringLiteral("/org/freedesktop/ScreenSaver"),
            QStringLiteral("org.freedesktop.ScreenSaver")};
}

bool isThere(const QDBusConnection& bus, const QString& service) {
    return bus.isConnected() && bus.interface()->isServiceRegistered(service);
}

} // namespace

void SleepInhibitor::hold(const QString& why) {
    if (holder_ != Holder::None) {
        return;
    }
    if (holdWithLogind(why)) {
        holder_ = Holder::Logind;
    } else if (holdWithCookie(Holder::PowerManagement, why)) {
        holder_ = Holder::PowerManagement;
    } else if (holdWithCookie(Holder::ScreenSaver, why)) {
        holder_ = Holder::ScreenSaver;
    }
}

bool SleepInhibitor::holdWithLogind(const QString& why) {
    QDBusConnection bus = QDBusConnection::systemBus();
    const QString service = QStringLiteral("org.freedesktop.login1");
    if (!isThere(bus, service)) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QString::fromLatin1(kDesktopAppName) << why
         << QStringLiteral("block");
    const QDBusReply<QDBusUnixFileDescriptor> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid() || !reply.value().isValid()) {
        return false;
    }
    lock_ = reply.value();
    return true;
}

bool SleepInhibitor::holdWithCookie(Holder holder, const QString& why) {
    const Service where = serviceOf(holder);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!isThere(bus, where.name)) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(where.name, where.path, where.interface,
                                                       QStringLiteral("Inhibit"));
    call << QString::fromLatin1(kDesktopAppName) << why;
    const QDBusReply<quint32> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid()) {
        return false;
    }
    cookie_ = reply.value();
    return true;
}

void SleepInhibitor::release() {
    if (holder_ == Holder::Logind) {
        lock_ = QDBusUnixFileDescriptor(); // our copy of the descriptor closes
    } else if (holder_ != Holder::None) {
        const Service where = serviceOf(holder_);
        QDBusMessage call = QDBusMessage::createMethodCall(where.name, where.path, where.interface,
                                                           QStringLiteral("UnInhibit"));
        call << cookie_;
        QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
    }
    holder_ = Holder::None;
}

} // namespace vexilon
