#include "image/view/prepared_image_steps.h"

#include "image/view/qt_pictures.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

namespace vexilon {

std::optional<PreparedImage> prepareFromCanvas(const PreviewArea& area, PipelineValues& values,
                                               const std::filesystem::path& previewFile,
                                               const PictureMode& mode, PixelRect pictureArea) {
    return prepareFromSnapshot(area.canvas.snapshot(kPreparedSide, kPreparedSide), values,
                               previewFile, mode, pictureArea);
}

std::optional<PreparedImage> prepareFromSnapshot(const QImage& snapshot, PipelineValues& values,
                                                 const std::filesystem::path& previewFile,
                                                 const PictureMode& mode, PixelRect pictureArea) {
    values.canvasSnapshot = snapshot;
    const std::optional<PreparedImage> prepared =
        PreparedImage::fromSnapshot(pixelView(snapshot), mode, pictureArea);
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
