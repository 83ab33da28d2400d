#include "image/console/picture_intake.h"

#include "control/control_events.h"
#include "control/run_time_clock.h"
#include "image/console/prepared_image_steps.h"
#include "image/pipeline/intake_picture.h"
#include "image/pipeline/prepared_image.h"
#include "ui/draw_panel.h"
#include "ui/drop_target.h"

#include <QFile>
#include <QImage>

namespace vexilon {

PictureIntake::PictureIntake(PreviewArea area, PipelineValues values, const QWidget& window,
                             RunTimeClock& clock, std::filesystem::path programDirectory, Log log,
                             ShowMessage showMessage, QObject* parent)
    : QObject(parent), area_(area), values_(values), window_(window), clock_(clock),
      previewFile_(std::move(programDirectory) / kPreviewFileName), log_(std::move(log)),
      showMessage_(std::move(showMessage)) {
    // Built while the console starts rather than in the first intake.
    rulerPictures();
}

void PictureIntake::listenTo(const DropTarget& dropTarget) {
    connect(&dropTarget, &DropTarget::filesDropped, this,
            qOverload<const QString&>(&PictureIntake::takeIn), Qt::QueuedConnection);
}

void PictureIntake::takeIn(const QString& path) {
    takeIn(QFile::encodeName(path).toStdString());
}

void PictureIntake::takeIn(const std::string& path) {
    values_.imagePath = path;
    area_.clearCanvas();
    if (!prepare(path)) {
        showMessage_(QStringLiteral("Wrong File Type"), QStringLiteral("Sorry "));
    }
    area_.drawRulerStrips();
    applyControlEvent(window_, ControlEvent::PictureTakenIn);
    clock_.resetCounter();
    clock_.resetLabel();
}

bool PictureIntake::prepare(const std::string& path) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    {
        // The decoded picture lives only until it is on the canvas.
        IntakePicture picture;
        if (!decodeForIntake(path, picture)) {
            return false;
        }
        values_.previewPath = previewFile_.string();
        width = picture.width;
        height = picture.height;
        const Placement at = picture.placement;
        const PixelImage fitted = fittedPixels(picture);
        const QImage image(reinterpret_cast<const uchar*>(fitted.pixels.data()), fitted.width,
                           fitted.height, QImage::Format_RGB32);
        area_.canvas.drawPicture(image, at.x, at.y, at.width, at.height);
    }
    prepareFromCanvas(area_, values_, previewFile_);

    log_(QStringLiteral(">Original image information:\r\n"));
    log_(QStringLiteral(">Image resolution:%1*%2\r\n").arg(width).arg(height));
    if (isTooLarge(width, height)) {
        log_(QStringLiteral(
            ">Image is too large,It has been adjusted to the optimal resolution\r\n"));
    }
    log_(QStringLiteral(">Image has been converted to black and white\r\n\r\n"));

    showPreparedImage(area_, values_);
    values_.zoomSize = kPreparedSide;
    return true;
}

} // namespace vexilon
