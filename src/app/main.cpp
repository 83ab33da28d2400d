#include "app/console.h"
#include "app/console_features.h"
#include "app/large_blocks.h"
#include "app/program_state.h"
#include "app/settings/console_paths.h"
#include "app/window/main_window.h"
#include "link/serial/serial_channel.h"
#include "ui/desktop/desktop_identity.h"
#include "ui/font_substitutions.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    vexilon::releaseLargeBlocksWhenFreed();
    QApplication application(argc, argv);
    // Lets the desktop match the window to its entry (icon, task-bar progress).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vexilon::kDesktopId));
    vexilon::registerFontSubstitutions();

    vexilon::ProgramState state;
    {
        const vexilon::ConsolePaths paths =
            vexilon::ConsolePaths::standard(QCoreApplication::applicationDirPath().toStdString());
        vexilon::MainWindow window;
        vexilon::SerialChannel& port = vexilon::makeSerialPort(window, paths);
        vexilon::ConsoleFeatures features(window, state, paths, port,
                                          vexilon::consoleServices(window, port));
        vexilon::Console console(window, state, paths, features);
        window.show();
        console.runStartUp();
        QApplication::exec();
    }
    return 0;
}
