#include "image/view/prepared_image_steps.h"

#include "image/pipeline/prepared_image.h"
#include "image/view/qt_pictures.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

namespace vexilon {

void prepareFromCanvas(const PreviewArea& area, PipelineValues& values,
                       const std::filesystem::path& previewFile) {
    const QImage snapshot = area.canvas.snapshot(kPreparedSide, kPreparedSide);
    values.canvasSnapshot = snapshot;
    values.imageBitmap = blackAndWhite(pixelView(snapshot));
    writePreviewFile(previewFile, byteArray(values.imageBitmap.toBmpBytes()));
}

void showPreparedImage(const PreviewArea& area, PipelineValues& values) {
    area.clearCanvas();
    area.picture.setPicture(byteArray(values.imageBitmap.toBmpBytes()));
    values.imageBitmap = uploadOrientation(values.imageBitmap);
}

} // namespace vexilon
