#include "support/qt_environment.h"

#include "ui/drop_target.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

// Sends a drag enter and a drop to `widget`; true when both were accepted.
bool drop(QWidget* widget, const QMimeData& mime) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &dropped);
    return enter.isAccepted() && dropped.isAccepted();
}

TEST(DropTarget, FilesDroppedOnTheWindowOrAnEditBoxReachIt) {
    QWidget window;
    auto* log = new QPlainTextEdit(&window);
    DropTarget target;
    target.registerWindow(&window);
    QSignalSpy spy(&target, &DropTarget::filesDropped);

    const QUrl a = QUrl::fromLocalFile(QStringLiteral("/pictures/cat 1.png"));
    const QUrl web(QStringLiteral("https://example.com/x.png"));
    QMimeData files;
    files.setUrls({a, QUrl::fromLocalFile(QStringLiteral("/tmp/b.bmp"))});
    EXPECT_TRUE(drop(log->viewport(), files));
    QMimeData mixed;
    mixed.setUrls({web, a});
    EXPECT_TRUE(drop(&window, mixed));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("/pictures/cat 1.png\r\n/tmp/b.bmp\r\n"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("/pictures/cat 1.png"));
    EXPECT_TRUE(log->toPlainText().isEmpty());

    // Neither plain text nor remote addresses are a file list.
    QMimeData text;
    text.setText(QStringLiteral("/tmp/a.bmp"));
    drop(&window, text);
    QMimeData remote;
    remote.setUrls({web});
    EXPECT_FALSE(drop(&window, remote));
    EXPECT_EQ(spy.count(), 2);
}

} // namespace
} // namespace vexilon
