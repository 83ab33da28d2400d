#pragma once

#include <QString>

class QPlainTextEdit;

namespace vexilon {

// Appends to the log pane: the caret goes to the very end (after anything the
// user typed) and the text is inserted there; the view scrolls to it once the
// event loop turns, so that a burst of lines scrolls once. The texts
// carry their own "\r\n" line ends, each shown as one line break. Nothing is
// ever cleared or trimmed.
void appendLog(QPlainTextEdit* pane, const QString& text);

} // namespace vexilon
