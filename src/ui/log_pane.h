#pragma once

#include <QString>

class QPlainTextEdit;

namespace vexilon {

// Appends to the log pane: the caret goes to the very end (after anything the
// user typed), the text is inserted there and scrolled into view. The texts
// carry their own "\r\n" line ends, each shown as one line break. Nothing is
// ever cleared or trimmed.
void appendLog(QPlainTextEdit* pane, const QString& text);

} // namespace vexilon
