#include "image/view/image_editing.h"

#include "image/pipeline/prepared_image.h"
#include "image/pipeline/zoom_steps.h"
#include "image/view/picture_intake.h"
#include "image/view/prepared_image_steps.h"
#include "image/view/qt_pictures.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include <QFile>

namespace vexilon {

ImageEditing::ImageEditing(PreviewArea area, PipelineValues values, PictureIntake& intake,
                           std::filesystem::path programDirectory, QObject* parent)
    : QObject(parent), area_(area), values_(values), intake_(intake),
      previewFile_(std::move(programDirectory) / kPreviewFileName) {}

void ImageEditing::rotate() {
    area_.clearCanvas();
    // imageBitmap holds nothing else; before any picture there is nothing to
    // turn, and the preview file is left empty.
    std::optional<PreparedImage> turned = PreparedImage::fromUploadBitmap(values_.imageBitmap);
    if (turned) {
        turned = turned->rotated();
    }
    writePreviewFile(previewFile_, turned ? byteArray(turned->bmpFile()) : QByteArray());
    showPreparedImage(area_, values_, turned);
    area_.drawRulerStrips();
}

void ImageEditing::zoomOut() {
    area_.clearCanvas();
    values_.zoomSize = nextZoomSize(values_.zoomSize);
    values_.previewPath = previewFile_.string();
    const QImage prepared = pictureFromBmpFile(QFile::decodeName(previewFile_.c_str()));
    const int at = zoomOffset(values_.zoomSize);
    drawScaled(area_.canvas, prepared, at, at, values_.zoomSize, values_.zoomSize);
    showPreparedImage(area_, values_, prepareFromCanvas(area_, values_, previewFile_));
    area_.drawRulerStrips();
}

void ImageEditing::reload() {
    intake_.takeIn(values_.imagePath.value_or(std::string()));
    area_.drawRulerStrips();
}

void ImageEditing::clear() {
    area_.clearCanvas();
    emit cleared();
}

} // namespace vexilon
