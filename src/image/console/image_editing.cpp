#include "image/console/image_editing.h"

#include "control/control_events.h"
#include "control/position_display.h"
#include "image/console/picture_intake.h"
#include "image/console/prepared_image_steps.h"
#include "image/pipeline/prepared_image.h"
#include "image/pipeline/zoom_steps.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include <QFile>

namespace vexilon {

ImageEditing::ImageEditing(PreviewArea area, PipelineValues values, const QWidget& window,
                           QLineEdit& xBox, QLineEdit& yBox, PictureIntake& intake,
                           std::filesystem::path programDirectory, QObject* parent)
    : QObject(parent), area_(area), values_(values), window_(window), xBox_(xBox), yBox_(yBox),
      intake_(intake), previewFile_(std::move(programDirectory) / kPreviewFileName) {}

void ImageEditing::rotate() {
    area_.clearCanvas();
    values_.imageBitmap = rotatedPrepared(values_.imageBitmap);
    const QByteArray bytes = byteArray(values_.imageBitmap.toBmpBytes());
    writePreviewFile(previewFile_, bytes);
    area_.clearCanvas();
    area_.picture.setPicture(bytes);
    values_.imageBitmap = uploadOrientation(values_.imageBitmap);
    area_.drawRulerStrips();
}

void ImageEditing::zoomOut() {
    area_.clearCanvas();
    values_.zoomSize = nextZoomSize(values_.zoomSize);
    values_.previewPath = previewFile_.string();
    const QImage prepared = pictureFromBmpFile(QFile::decodeName(previewFile_.c_str()));
    const int at = zoomOffset(values_.zoomSize);
    area_.canvas.drawPicture(prepared, at, at, values_.zoomSize, values_.zoomSize);
    prepareFromCanvas(area_, values_, previewFile_);
    showPreparedImage(area_, values_);
    area_.drawRulerStrips();
}

void ImageEditing::reload() {
    intake_.takeIn(values_.imagePath.value_or(std::string()));
    area_.drawRulerStrips();
}

void ImageEditing::clear() {
    area_.clearCanvas();
    applyControlEvent(window_, ControlEvent::Clear);
    resetPosition(xBox_, yBox_);
}

} // namespace vexilon
