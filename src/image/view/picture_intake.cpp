#include "image/view/picture_intake.h"

#include "image/pipeline/intake_picture.h"
#include "image/pipeline/prepared_image.h"
#include "image/view/prepared_image_steps.h"
#include "image/view/qt_pictures.h"
#include "ui/base/file_name_text.h"
#include "ui/draw_panel.h"
#include "ui/drop_target.h"

#include <QImage>

namespace vexilon {

PictureIntake::PictureIntake(PreviewArea area, PipelineValues values,
                             std::filesystem::path programDirectory, Services services,
                             QObject* parent)
    : QObject(parent), area_(area), values_(values),
      previewFile_(std::move(programDirectory) / kPreviewFileName), services_(std::move(services)) {
    // Built while the console starts rather than in the first intake.
    rulerPictures();
}

void PictureIntake::listenTo(const DropTarget& dropTarget) {
    connect(&dropTarget, &DropTarget::filesDropped, this,
            qOverload<const QString&>(&PictureIntake::takeIn), Qt::QueuedConnection);
}

void PictureIntake::takeIn(const QString& path) {
    takeIn(fileNameBytes(path).toStdString());
}

void PictureIntake::takeIn(const std::string& path) {
    values_.imagePath = path;
    area_.clearCanvas();
    if (!prepare(path)) {
        services_.message(QStringLiteral("Wrong File Type"), QStringLiteral("Sorry "));
    }
    area_.drawRulerStrips();
    emit pictureTakenIn();
}

bool PictureIntake::prepare(const std::string& path) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    PixelRect pictureArea;
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
        drawScaled(area_.canvas, screenPicture(fittedPixels(picture)), at.x, at.y, at.width,
                   at.height);
        pictureArea = {at.x, at.y, at.width, at.height};
    }
    const std::optional<PreparedImage> prepared =
        prepareFromCanvas(area_, values_, previewFile_, values_.pictureMode, pictureArea);
    values_.takenIn.reset();
    if (values_.canvasSnapshot) {
        values_.takenIn = TakenInPicture{*values_.canvasSnapshot, pictureArea};
    }

    services_.log(QStringLiteral(">Original image information:\r\n"));
    services_.log(QStringLiteral(">Image resolution:%1*%2\r\n").arg(width).arg(height));
    if (isTooLarge(width, height)) {
        services_.log(QStringLiteral(
            ">Image is too large,It has been adjusted to the optimal resolution\r\n"));
    }
    services_.log(QStringLiteral(">Image has been converted to black and white\r\n\r\n"));

    showPreparedImage(area_, values_, prepared);
    values_.zoomSize = kPreparedSide;
    return true;
}

void PictureIntake::changeMode(const PictureMode& mode) {
    values_.pictureMode = mode;
    services_.log(QString::fromStdString(pictureModeLogLine(mode)));
    if (!values_.takenIn) {
        return;
    }
    const TakenInPicture taken = *values_.takenIn;
    const std::optional<PreparedImage> prepared =
        prepareFromSnapshot(taken.snapshot, values_, previewFile_, mode, taken.area);
    showPreparedImage(area_, values_, prepared);
    values_.zoomSize = kPreparedSide;
    area_.drawRulerStrips();
    // The machine holds the image as it was: as after an intake, the new one
    // must be sent before a job can start.
    emit pictureTakenIn();
}

} // namespace vexilon
