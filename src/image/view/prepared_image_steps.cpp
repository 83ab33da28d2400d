#include "image/view/prepared_image_steps.h"

#include "image/view/qt_pictures.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

namespace vexilon {

std::optional<PreparedImage> prepareFromCanvas(const PreviewArea& area, PipelineValues& values,
                                               const std::filesystem::path& previewFile) {
    const QImage snapshot = area.canvas.snapshot(kPreparedSide, kPreparedSide);
    values.canvasSnapshot = snapshot;
    const std::optional<PreparedImage> prepared = PreparedImage::fromSnapshot(pixelView(snapshot));
    writePreviewFile(previewFile, prepared ? byteArray(prepared->bmpFile()) : QByteArray());
    return prepared;
}

void showPreparedImage(const PreviewArea& area, PipelineValues& values,
                       const std::optional<PreparedImage>& prepared) {
    area.clearCanvas();
    area.picture.setPicture(prepared ? screenPicture(*prepared) : QImage());
    values.imageBitmap = prepared ? prepared->uploadBitmap() : Bitmap();
}

} // namespace vexilon
