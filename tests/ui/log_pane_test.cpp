#include "support/qt_environment.h"

#include "ui/log_pane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(LogPane, AppendsAfterTypedTextWithCrLfAsOneBreak) {
    QPlainTextEdit pane;
    appendLog(&pane, QStringLiteral(">Connecting\r\n"));
    appendLog(&pane, QStringLiteral("done\r\n\r\n"));
    EXPECT_EQ(pane.toPlainText(), QStringLiteral(">Connecting\ndone\n\n"));

    // The user puts the caret at the start and types; the next message still
    // goes to the very end and the caret follows it.
    QTextCursor start = pane.textCursor();
    start.movePosition(QTextCursor::Start);
    pane.setTextCursor(start);
    QTest::keyClicks(&pane, QStringLiteral("typed"));
    appendLog(&pane, QStringLiteral("next\r\n"));
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("typed>Connecting\ndone\n\nnext\n"));
    EXPECT_EQ(pane.textCursor().position(), pane.toPlainText().size());
    EXPECT_EQ(pane.document()->blockCount(), 5);
}

// The view follows once a burst of lines has been handled, not line by line.
TEST(LogPane, ScrollsTheNewTextIntoViewAfterTheBurst) {
    QPlainTextEdit pane;
    pane.resize(120, 80);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    const auto caretInView = [&] { return pane.viewport()->rect().contains(pane.cursorRect()); };
    for (int i = 0; i < 50; ++i) {
        appendLog(&pane, QStringLiteral("line %1\r\n").arg(i));
    }
    QScrollBar* bar = pane.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(pane.textCursor().position(), pane.toPlainText().size());
    EXPECT_TRUE(QTest::qWaitFor(caretInView, 1000));
    EXPECT_GT(bar->value(), 0);
    bar->setValue(0);
    ASSERT_FALSE(caretInView());
    appendLog(&pane, QStringLiteral("last\r\n"));
    EXPECT_TRUE(QTest::qWaitFor(caretInView, 1000));
}

} // namespace
} // namespace vexilon
