#include "app/reply_routing.h"

#include "control/connection/connection.h"
#include "control/position_display.h"
#include "control/run_time_clock.h"
#include "link/serial_channel.h"
#include "ui/draw_panel.h"

namespace vexilon {

ReplyRouting::ReplyRouting(SerialChannel& channel, Targets targets, Log log, QObject* parent)
    : QObject(parent), targets_(targets), log_(std::move(log)) {
    connect(&channel, &SerialChannel::dataArrived, this, &ReplyRouting::handle);
}

void ReplyRouting::handle(int byte) {
    const protocol::ReplyActions actions = parser_.feed(static_cast<std::uint8_t>(byte));
    if (actions.verifyOk) {
        targets_.connection.verificationSucceeded();
    }
    if (actions.carvingStopped) {
        targets_.clock.stopTicking();
        emit carvingStopped();
    }
    if (actions.versionReport) {
        log_(QStringLiteral("Firmware Version : V3.0.0\r\n"));
        log_(QStringLiteral("Software Version : V3.2.1\r\n"));
    }
    if (const auto dot = actions.position) {
        targets_.canvas.setPixel(dot->x, dot->y, static_cast<quint32>(targets_.carvedColor));
        showPosition(targets_.xBox, targets_.yBox, dot->x, dot->y);
        emit dotReported(dot->x, dot->y);
    }
}

} // namespace vexilon
