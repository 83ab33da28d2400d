#pragma once

#include "link/protocol/reply_parser.h"

#include <QObject>
#include <QString>

#include "ui/base/services.h"

#include <cstdint>

namespace vexilon {

class Connection;
class DrawPanel;
class MachineLink;

// Where each reply of the machine goes: every received byte runs through the
// parser, and what it asks for is done in order: verify OK to the
// connection, carving stopped to whoever follows the job (the clock first),
// the version report to the log, the reported dot to the preview canvas,
// then to whoever shows it (the position boxes first).
class ReplyRouting : public QObject {
    Q_OBJECT
public:
    struct Targets {
        DrawPanel& canvas;
        Connection& connection;
        // Read at every dot: the settings window may change it mid-job.
        const std::int32_t& carvedColour;
    };

    ReplyRouting(MachineLink& link, Targets targets, Services services, QObject* parent = nullptr);

    void handle(int byte);

signals:
    // Raised in the order the replies arrive; the console connects the clock
    // and the position boxes ahead of whoever else follows the job.
    void carvingStopped();
    void dotReported(int x, int y);

private:
    Targets targets_;
    Services services_;
    protocol::ReplyParser parser_;
};

} // namespace vexilon
