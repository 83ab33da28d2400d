#include "ui/log_pane.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

namespace vexilon {
namespace {

constexpr char kFollowPending[] = "logFollowPending";

// Scrolling the pane for every line costs more than the line itself when a
// machine floods the log: the view follows once the burst is over.
void followTheEnd(QPlainTextEdit* pane) {
    if (pane->property(kFollowPending).toBool()) {
        return;
    }
    pane->setProperty(kFollowPending, true);
    QTimer::singleShot(0, pane, [pane] {
        pane->setProperty(kFollowPending, false);
        pane->ensureCursorVisible();
    });
}

} // namespace

void appendLog(QPlainTextEdit* pane, const QString& text) {
    if (pane == nullptr) {
        return;
    }
    QString lines = text;
    // The text cursor takes "\r" and "\n" each as a paragraph break.
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor caret = pane->textCursor();
    if (caret.hasSelection() || !caret.atEnd()) {
        caret.movePosition(QTextCursor::End);
        pane->setTextCursor(caret);
    }
    // The caret sits where the text goes in, so the insertion carries it
    // along to the new end, as typing would.
    QTextCursor end(pane->document());
    end.movePosition(QTextCursor::End);
    end.insertText(lines);
    followTheEnd(pane);
}

} // namespace vexilon
