#include "ui/log_pane.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace vexilon {

void appendLog(QPlainTextEdit* pane, const QString& text) {
    if (pane == nullptr) {
        return;
    }
    QString lines = text;
    // The text cursor takes "\r" and "\n" each as a paragraph break.
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor = pane->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(lines);
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
}

} // namespace vexilon
