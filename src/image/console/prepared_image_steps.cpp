#include "image/console/prepared_image_steps.h"

#include "image/pipeline/prepared_image.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include <span>

namespace vexilon {

void prepareFromCanvas(const PreviewArea& area, PipelineValues& values,
                       const std::filesystem::path& previewFile) {
    const QByteArray snapshot = area.canvas.snapshot(kPreparedSide, kPreparedSide);
    values.canvasSnapshot = snapshot;
    values.imageBitmap =
        blackAndWhite(std::span(reinterpret_cast<const std::uint8_t*>(snapshot.constData()),
                                static_cast<std::size_t>(snapshot.size())));
    writePreviewFile(previewFile, byteArray(values.imageBitmap.toBmpBytes()));
}

void showPreparedImage(const PreviewArea& area, PipelineValues& values) {
    area.clearCanvas();
    area.picture.setPicture(byteArray(values.imageBitmap.toBmpBytes()));
    values.imageBitmap = uploadOrientation(values.imageBitmap);
}

} // namespace vexilon
