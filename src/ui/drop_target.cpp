#include "ui/drop_target.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace vexilon {

QString droppedFilesText(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            paths.append(QDir::toNativeSeparators(url.toLocalFile()));
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
        if (mime == nullptr || !mime->hasUrls()) {
            break;
        }
        const QString text = droppedFilesText(mime->urls());
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
