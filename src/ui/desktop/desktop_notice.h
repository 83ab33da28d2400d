#pragma once

#include <QString>

namespace vexilon {

// A desktop notification (the freedesktop notification service). It is
// sent without waiting for an answer; without a session bus or a
// notification server nothing happens.
void showDesktopNotice(const QString& summary, const QString& body);

} // namespace vexilon
