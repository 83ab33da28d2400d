#include "ui/desktop/desktop_notice.h"

#include "ui/desktop/desktop_identity.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace vexilon {

void showDesktopNotice(const QString& summary, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    // Asking first keeps the bus from trying to start a server that is not
    // there.
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(service)) {
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                       service, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopId));
    call << QString::fromLatin1(kDesktopAppName) << 0u << QString::fromLatin1(kDesktopId) << summary
         << body << QStringList() << hints << -1;
    bus.asyncCall(call);
}

} // namespace vexilon
