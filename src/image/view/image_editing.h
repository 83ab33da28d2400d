#pragma once

#include "image/view/pipeline_values.h"
#include "image/view/preview_area.h"

#include <QObject>

#include <filesystem>

namespace vexilon {

class PictureIntake;

// The four buttons of the image editing group. Rotate and Zoom Out change
// the prepared image itself (preview file, picture view and imageBitmap in
// step), so the next upload sends what they made; Reload takes the last
// picture in again; Clear wipes what was painted on the canvas.
class ImageEditing : public QObject {
    Q_OBJECT
public:
    ImageEditing(PreviewArea area, PipelineValues values, PictureIntake& intake,
                 std::filesystem::path programDirectory, QObject* parent = nullptr);

    // A quarter turn clockwise: (x, y) of the prepared image goes to
    // (511 - y, x). Before any picture there is nothing to turn, and the
    // preview file is left empty.
    void rotate();
    // The whole prepared image, margins included, shrunk into a square
    // centred on (250, 250) and converted to black and white again.
    void zoomOut();
    void reload();
    void clear();

signals:
    // The canvas was wiped: the machine controls and the position boxes
    // follow it.
    void cleared();

private:
    PreviewArea area_;
    PipelineValues values_;
    PictureIntake& intake_;
    std::filesystem::path previewFile_;
};

} // namespace vexilon
