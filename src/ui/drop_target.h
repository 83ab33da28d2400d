#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class QWidget;

namespace vexilon {

// The text handed over for dropped files: a single local file gives its full
// path; several give every path followed by "\r\n", joined. Entries that are
// not local files are left out; none at all gives an empty text.
QString droppedFilesText(const QList<QUrl>& urls);

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
