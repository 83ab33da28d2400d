#pragma once

#include "image/console/pipeline_values.h"
#include "image/console/preview_area.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>

class QWidget;

namespace vexilon {

class DropTarget;
class RunTimeClock;

// Turns a dropped picture file into the prepared image: fitted into the
// 490 x 490 square, converted to black and white, written to the preview
// file, shown in the picture view and kept in upload orientation.
class PictureIntake : public QObject {
    Q_OBJECT
public:
    using Log = std::function<void(const QString& text)>;
    using ShowMessage = std::function<void(const QString& text, const QString& caption)>;

    // `window` holds the machine controls; the preview file goes into
    // `programDirectory`.
    PictureIntake(PreviewArea area, PipelineValues values, const QWidget& window,
                  RunTimeClock& clock, std::filesystem::path programDirectory, Log log,
                  ShowMessage showMessage, QObject* parent = nullptr);

    // Drops reach intake through the event loop: the drag source gets its
    // answer at once and no decoding runs inside the drop event.
    void listenTo(const DropTarget& dropTarget);

    // The dropped text: one path, or several each ending in "\r\n", which
    // names no file and so is refused like any unreadable one.
    void takeIn(const QString& path);
    void takeIn(const std::string& path);

    const std::filesystem::path& previewFile() const { return previewFile_; }

private:
    bool prepare(const std::string& path);

    PreviewArea area_;
    PipelineValues values_;
    const QWidget& window_;
    RunTimeClock& clock_;
    std::filesystem::path previewFile_;
    Log log_;
    ShowMessage showMessage_;
};

} // namespace vexilon
