#include "ui/drop_target.h"

#include "ui/base/file_name_text.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <optional>

namespace vexilon {
namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// The file system's bytes of a local file's address, decoded from the
// address itself: QUrl's own decoding would turn bytes that are not UTF-8
// into replacement characters.
std::optional<QString> localPath(const QByteArray& line) {
    const QUrl url = QUrl::fromEncoded(line.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile()) {
        return std::nullopt;
    }
    return fileNameText(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace

QString droppedFilesText(const QByteArray& uriList) {
    QStringList paths;
    for (const QByteArray& line : uriList.split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#')) {
            continue;
        }
        if (const std::optional<QString> path = localPath(line)) {
            paths.append(*path);
        }
    }
    if (paths.size() == 1) {
        return paths.front();
    }
    QString text;
    for (const QString& path : paths) {
        text += path + QStringLiteral("\r\n");
    }
    return text;
}

DropTarget::DropTarget(QObject* parent) : QObject(parent) {}

void DropTarget::registerWindow(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    // Drag events go to the innermost widget under the pointer that accepts
    // drops, so the filter sits on every child as well (edit boxes and their
    // viewports would otherwise take a file drop as text).
    for (QWidget* child : window->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool DropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QMimeData* mime = drop->mimeData();
        if (mime == nullptr || !mime->hasFormat(kUriList)) {
            break;
        }
        const QString text = droppedFilesText(mime->data(kUriList));
        if (text.isEmpty()) {
            break;
        }
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop) {
            emit filesDropped(text);
        }
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vexilon
