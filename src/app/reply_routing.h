#pragma once

#include "link/protocol/reply_parser.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QLineEdit;

namespace vexilon {

class Connection;
class DrawPanel;
class RunTimeClock;
class SerialChannel;

// Where each reply of the machine goes: every received byte runs through the
// parser, and what it asks for is done in order: verify OK to the
// connection, carving stopped to the clock, the version report to the log,
// the reported dot to the preview canvas and the position boxes.
class ReplyRouting : public QObject {
    Q_OBJECT
public:
    using Log = std::function<void(const QString&)>;

    struct Targets {
        DrawPanel& canvas;
        QLineEdit& xBox;
        QLineEdit& yBox;
        RunTimeClock& clock;
        Connection& connection;
        // Read at every dot: the settings window may change it mid-job.
        const std::int32_t& carvedColor;
    };

    ReplyRouting(SerialChannel& channel, Targets targets, Log log, QObject* parent = nullptr);

    void handle(int byte);

    const protocol::ReplyParser& parser() const { return parser_; }

signals:
    // Raised after the console has shown them, for whoever follows the job.
    void carvingStopped();
    void dotReported(int x, int y);

private:
    Targets targets_;
    Log log_;
    protocol::ReplyParser parser_;
};

} // namespace vexilon
