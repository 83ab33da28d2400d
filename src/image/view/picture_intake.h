#pragma once

#include "image/view/pipeline_values.h"
#include "image/view/preview_area.h"
#include "ui/base/services.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>

namespace vexilon {

class DropTarget;

// Turns a dropped picture file into the prepared image: fitted into the
// 490 x 490 square, converted to black and white, written to the preview
// file, shown in the picture view and kept in upload orientation.
class PictureIntake : public QObject {
    Q_OBJECT
public:
    // The preview file goes into `programDirectory`.
    PictureIntake(PreviewArea area, PipelineValues values, std::filesystem::path programDirectory,
                  Services services, QObject* parent = nullptr);

    // Drops reach intake through the event loop: the drag source gets its
    // answer at once and no decoding runs inside the drop event.
    void listenTo(const DropTarget& dropTarget);

    // The dropped text: one path, or several each ending in "\r\n", which
    // names no file and so is refused like any unreadable one.
    void takeIn(const QString& path);
    void takeIn(const std::string& path);

    // A new picture mode: logged, kept for the pictures to come, and applied
    // at once to the last picture taken in, from the canvas as its intake
    // left it (no new decoding); Zoom Out starts afresh from it, and the
    // controls and the clock follow as after an intake.
    void changeMode(const PictureMode& mode);

    const std::filesystem::path& previewFile() const { return previewFile_; }

signals:
    // Raised at the end of every intake, good or refused, and of every
    // change of mode that converted a picture again, once the rulers are
    // drawn: the machine controls and the clock follow it.
    void pictureTakenIn();

private:
    bool prepare(const std::string& path);

    PreviewArea area_;
    PipelineValues values_;
    std::filesystem::path previewFile_;
    Services services_;
};

} // namespace vexilon
