// Drops that come from another program over the X server, as from a file
// manager: the address list's bytes reach the console as they were sent.
#include "support/qt_environment.h"

#include "ui/base/file_name_text.h"
#include "ui/drop_target.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace vexilon {
namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Counts the drag moves that reach the window.
class DragWatch : public QObject {
public:
    int moves = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        moves += event->type() == QEvent::DragMove ? 1 : 0;
        return false;
    }
};

class RealDrop : public ::testing::Test {
protected:
    void SetUp() override {
        window.setGeometry(100, 100, 300, 300);
        target.registerWindow(&window);
        window.installEventFilter(&watch);
        window.show();
        ASSERT_TRUE(
            waitUntil([this] { return window.isVisible() && window.windowHandle()->isExposed(); }));
    }

    // Drags `uriList` from the other program onto the window; the text the
    // drop target handed on, if any.
    std::optional<QString> dragOver(const QByteArray& uriList) {
        QProcess source;
        source.start(QStringLiteral(DRAG_SOURCE), {QString::fromLatin1(uriList)});
        QByteArray said;
        const auto hears = [&](const char* word) {
            return waitUntil([&] {
                said += source.readAllStandardOutput();
                return said.contains(word);
            });
        };
        if (!hears("ready")) {
            return std::nullopt;
        }
        const QList<QByteArray> ready = said.split('\n').front().split(' ');
        QSignalSpy dropped(&target, &DropTarget::filesDropped);
        xdotool({"mousemove", ready[1], ready[2], "mousedown", "1"});
        if (!hears("dragging")) {
            return std::nullopt;
        }
        const QPoint centre = window.mapToGlobal(window.rect().center());
        for (int step = 1; step <= 12 && watch.moves < 3; ++step) {
            const int seen = watch.moves;
            xdotool({"mousemove", QByteArray::number(centre.x() + 60 / step),
                     QByteArray::number(centre.y())});
            waitUntil([&] { return watch.moves > seen; }, 500);
        }
        xdotool({"mouseup", "1"});
        const bool arrived = waitUntil([&] { return dropped.count() > 0; });
        source.kill();
        source.waitForFinished();
        return arrived ? std::optional(dropped.at(0).at(0).toString()) : std::nullopt;
    }

    static void xdotool(const QList<QByteArray>& arguments) {
        QStringList args;
        for (const QByteArray& a : arguments) {
            args << QString::fromLatin1(a);
        }
        QProcess::execute(QStringLiteral("xdotool"), args);
    }

    QWidget window;
    DropTarget target;
    DragWatch watch;
};

TEST_F(RealDrop, ANameThatIsNotUtf8ArrivesAsTheFileSystemsBytes) {
    const std::optional<QString> text = dragOver("file:///tmp/pictures/caf%E9%20au%20lait.png");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(fileNameBytes(*text), QByteArray("/tmp/pictures/caf\xe9 au lait.png"));
}

TEST_F(RealDrop, AnEncodedNulStaysInThePathInsteadOfCuttingItShort) {
    const std::optional<QString> text = dragOver("file:///tmp/nul.png%00.jpg");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(fileNameBytes(*text), QByteArray("/tmp/nul.png\0.jpg", 17));
}

} // namespace
} // namespace vexilon
