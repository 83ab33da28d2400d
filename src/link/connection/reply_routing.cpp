#include "link/connection/reply_routing.h"

#include "link/connection/connection.h"
#include "link/serial/machine_link.h"
#include "ui/draw_panel.h"

namespace vexilon {

ReplyRouting::ReplyRouting(MachineLink& link, Targets targets, Services services, QObject* parent)
    : QObject(parent), targets_(targets), services_(std::move(services)) {
    connect(&link, &MachineLink::dataArrived, this, &ReplyRouting::handle);
}

void ReplyRouting::handle(int byte) {
    const protocol::ReplyActions actions = parser_.feed(static_cast<std::uint8_t>(byte));
    if (actions.verifyOk) {
        targets_.connection.verificationSucceeded();
    }
    if (actions.carvingStopped) {
        emit carvingStopped();
    }
    if (actions.versionReport) {
        services_.log(QStringLiteral("Firmware Version : V3.0.0\r\n"));
        services_.log(QStringLiteral("Software Version : V3.2.1\r\n"));
    }
    if (const auto dot = actions.position) {
        targets_.canvas.setPixel(dot->x, dot->y, static_cast<quint32>(targets_.carvedColour));
        emit dotReported(dot->x, dot->y);
    }
}

} // namespace vexilon
