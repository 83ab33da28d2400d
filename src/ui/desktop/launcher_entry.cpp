#include "ui/desktop/launcher_entry.h"

#include "ui/desktop/desktop_identity.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

#include <cmath>

namespace vexilon {

void LauncherEntry::showProgress(double progress) {
    // Docks redraw on every signal; a thousandth is finer than any bar.
    if (visible_ && std::abs(progress - last_) < 0.001) {
        return;
    }
    send(progress, true);
}

void LauncherEntry::hideProgress() {
    if (visible_) {
        send(last_, false);
    }
}

void LauncherEntry::send(double progress, bool visible) {
    last_ = progress;
    visible_ = visible;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/vexilon/Console/LauncherEntry"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), progress);
    properties.insert(QStringLiteral("progress-visible"), visible);
    signal << QStringLiteral("application://%1.desktop").arg(QLatin1String(kDesktopId))
           << properties;
    bus.send(signal);
}

} // namespace vexilon
