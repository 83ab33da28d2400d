#include "image/console/image_upload.h"

#include "control/control_events.h"
#include "image/pipeline/prepared_image.h"
#include "link/protocol/command_bytes.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"

#include <QFile>
#include <QImage>

#include <chrono>

namespace vexilon {

ImageUpload::ImageUpload(PreviewArea area, const Bitmap& imageBitmap, const QWidget& window,
                         std::filesystem::path programDirectory, Log log, ShowMessage showMessage,
                         Send send, BlockingWait wait)
    : area_(area), imageBitmap_(imageBitmap), window_(window),
      previewFile_(std::move(programDirectory) / kPreviewFileName), log_(std::move(log)),
      showMessage_(std::move(showMessage)), send_(std::move(send)), wait_(std::move(wait)) {}

bool ImageUpload::upload() {
    // Replaces everything on the canvas, the dots of an earlier job too.
    const QImage prepared = pictureFromBmpFile(QFile::decodeName(previewFile_.c_str()));
    area_.canvas.drawPicture(prepared, 0, 0, kPreparedSide, kPreparedSide);
    area_.drawRulerStrips();
    bool sent = false;
    if (prepared.isNull()) {
        showMessage_(QStringLiteral("Please drag and drop pictures to a specified location before "
                                    "you start carving"),
                     QStringLiteral("ERROR"));
    } else {
        log_(QStringLiteral("----Please wait----\r\n"));
        log_(QStringLiteral("Erasing Last Image...\r\n"));
        sent = sendImage();
        if (sent) {
            log_(QStringLiteral("Sending Complete !\r\n\r\n"));
            applyControlEvent(window_, ControlEvent::UploadFinished);
        } else {
            // Opening the job controls now would let the operator start a
            // job on a machine that never got the picture.
            log_(QStringLiteral(">Sending Failed ! Check the connection to the machine\r\n\r\n"));
        }
    }
    area_.drawRulerStrips();
    return sent;
}

bool ImageUpload::sendImage() {
    const std::uint8_t erase[] = {protocol::kEraseImage};
    for (int i = 0; i < protocol::kEraseImageRepeat; ++i) {
        if (!send_(erase)) {
            return false;
        }
    }
    wait_(std::chrono::milliseconds(protocol::kEraseImageWaitMs));
    log_(QStringLiteral("Sending New Image...\r\n"));
    const std::vector<std::uint8_t> data = imageData(imageBitmap_);
    return send_(data);
}

} // namespace vexilon
