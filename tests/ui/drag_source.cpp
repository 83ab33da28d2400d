// A program of its own that drags a file address list, given as the exact
// bytes of "text/uri-list", from its window when the mouse is pressed on it:
// what a file manager does when a file is dragged out of it. It prints
// "ready <x> <y>" with the centre of its window once shown, "dragging" as
// the drag starts and "done <action>" when it ends. It stays until it is
// ended, as a file manager does: the drop's data is fetched from it after
// the drag has ended on its side.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QByteArray uriList) : uriList_(std::move(uriList)) {
        setGeometry(700, 100, 120, 90);
    }

protected:
    void showEvent(QShowEvent*) override {
        QTimer::singleShot(0, this, [this] {
            const QPoint centre = mapToGlobal(rect().center());
            std::printf("ready %d %d\n", centre.x(), centre.y());
            std::fflush(stdout);
        });
    }
    void mousePressEvent(QMouseEvent*) override {
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("text/uri-list"), uriList_);
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        std::printf("dragging\n");
        std::fflush(stdout);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("done %d\n", static_cast<int>(action));
        std::fflush(stdout);
    }

private:
    QByteArray uriList_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    DragSource source(QByteArray(argv[1]) + "\r\n");
    source.show();
    return app.exec();
}
