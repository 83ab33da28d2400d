#include "app/console.h"
#include "app/console_paths.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "ui/desktop/desktop_identity.h"
#include "ui/font_substitutions.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Lets the desktop match the window to its entry (icon, task-bar progress).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vexilon::kDesktopId));
    vexilon::registerFontSubstitutions();

    vexilon::ProgramState state;
    {
        vexilon::MainWindow window;
        vexilon::Console console(
            window, state,
            vexilon::ConsolePaths::standard(QCoreApplication::applicationDirPath().toStdString()));
        window.show();
        console.runStartUp();
        QApplication::exec();
    }
    return 0;
}
