#include "app/settings_window/open_settings_window.h"

#include "app/settings_window/settings_window.h"

#include <QEventLoop>
#include <QPointer>

namespace vexilon {

void openSettingsWindow(const SettingsServices& services) {
    QPointer<SettingsWindow> window = new SettingsWindow;
    window->setObjectName(QStringLiteral("SettingsWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    new SettingsHandlers(window->controls(), services, window);

    QEventLoop untilClosed;
    QObject::connect(window, &QObject::destroyed, &untilClosed, &QEventLoop::quit);
    window->show();
    untilClosed.exec();
    // The loop also ends when the application quits with the window open.
    delete window;
}

} // namespace vexilon
