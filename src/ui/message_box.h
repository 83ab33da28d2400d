#pragma once

#include <QString>

namespace vexilon {

// A modal message box with that text and caption and one OK button, owned by
// no window. Returns when it is dismissed; its nested event loop keeps timers
// and received bytes being handled meanwhile.
void showMessage(const QString& text, const QString& caption);

} // namespace vexilon
