#include "app/console_features.h"

#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include "app/program_state.h"
#include "app/settings/console_paths.h"
#include "app/window/main_window.h"
#include "link/protocol/command_bytes.h"
#include "link/serial/serial_channel.h"
#include "ui/log_pane.h"
#include "ui/message_box.h"

namespace vexilon {

ConsoleFeatures::ConsoleFeatures(MainWindow& window, ProgramState& state, const ConsolePaths& paths,
                                 MachineLink& link, Services bundle)
    : services(std::move(bundle)), clock(*window.runTimeTimer(), window.runTimeLabel()),
      position(window.xCoordBox(), window.yCoordBox()),
      burningTime(window.burningTimeSlider(), window.burningTimeLabel(), services),
      connection(window.connectionControls(), link, services),
      replyRouting(link, {window.previewArea().canvas, connection, state.carvedColour}, services),
      jobControl(window.jobButtons(), clock, position, services),
      jogging(window.positioningButtons(),
              HotKeyService{[this](Qt::Key key) { return hotKeys.take(key); },
                            [this](int identifier) { hotKeys.release(identifier); }},
              services),
      intake(window.previewArea(), state.pipelineValues(), paths.programDirectory, services),
      pictureModeMenu(window, {&window.previewArea().picture, &window.previewArea().canvas}),
      editing(window.previewArea(), state.pipelineValues(), intake, paths.programDirectory),
      upload(window.previewArea(), state.imageBitmap, paths.programDirectory, services),
      jobTracker(window.runTimeLabel(), [this] { return clock.elapsedSeconds(); }) {}

SerialChannel& makeSerialPort(MainWindow& window, const ConsolePaths& paths) {
    auto* port = new SerialChannel(paths.portLinkDirectory, &window);
    port->setObjectName(QStringLiteral("SerialPort"));
    port->setDeviceDirectory(paths.deviceDirectory);
    port->setRoutineBytes(&protocol::isPositionReportByte);
    return *port;
}

Services consoleServices(MainWindow& window, MachineLink& link, Services::ShowMessage messageBox,
                         BlockingWait wait) {
    QPlainTextEdit* logBox = &window.logBox();
    return {[logBox](const QString& text) { appendLog(logBox, text); },
            messageBox ? std::move(messageBox) : Services::ShowMessage(showMessage),
            [&link](std::span<const std::uint8_t> bytes) { return link.send(bytes); },
            std::move(wait)};
}

} // namespace vexilon
