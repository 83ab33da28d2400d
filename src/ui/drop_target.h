#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QWidget;

namespace vexilon {

// The text handed over for dropped files, from the drop's address list
// ("text/uri-list"): a single local file gives its full path; several give
// every path followed by "\r\n", joined. Entries that are not local files
// are left out; none at all gives an empty text. Paths are the file system's
// bytes as fileNameText carries them, an encoded NUL included.
QString droppedFilesText(const QByteArray& uriList);

// Takes drops of local files anywhere on a registered window. Child controls
// that take drops of their own (the edit boxes) hand file drops on to it too.
class DropTarget : public QObject {
    Q_OBJECT

public:
    explicit DropTarget(QObject* parent = nullptr);

    void registerWindow(QWidget* window);

signals:
    void filesDropped(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace vexilon
