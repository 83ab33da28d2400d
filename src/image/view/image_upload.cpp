#include "image/view/image_upload.h"

#include "image/pipeline/prepared_image.h"
#include "image/view/qt_pictures.h"
#include "link/protocol/command_bytes.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"

#include <QFile>
#include <QImage>

#include <chrono>

namespace vexilon {

ImageUpload::ImageUpload(PreviewArea area, const Bitmap& imageBitmap,
                         std::filesystem::path programDirectory, Services services, QObject* parent)
    : QObject(parent), area_(area), imageBitmap_(imageBitmap),
      previewFile_(std::move(programDirectory) / kPreviewFileName), services_(std::move(services)) {
}

bool ImageUpload::upload() {
    // Replaces everything on the canvas, the dots of an earlier job too.
    const QImage prepared = pictureFromBmpFile(QFile::decodeName(previewFile_.c_str()));
    drawScaled(area_.canvas, prepared, 0, 0, kPreparedSide, kPreparedSide);
    area_.drawRulerStrips();
    bool sent = false;
    if (prepared.isNull()) {
        services_.message(
            QStringLiteral("Please drag and drop pictures to a specified location before "
                           "you start carving"),
            QStringLiteral("ERROR"));
    } else {
        services_.log(QStringLiteral("----Please wait----\r\n"));
        services_.log(QStringLiteral("Erasing Last Image...\r\n"));
        sent = sendImage();
        if (sent) {
            services_.log(QStringLiteral("Sending Complete !\r\n\r\n"));
            emit imageSent(blackDotCount(imageData(imageBitmap_)));
        } else {
            // Opening the job controls now would let the operator start a
            // job on a machine that never got the picture.
            services_.log(
                QStringLiteral(">Sending Failed ! Check the connection to the machine\r\n\r\n"));
        }
    }
    area_.drawRulerStrips();
    return sent;
}

bool ImageUpload::sendImage() {
    const std::uint8_t erase[] = {protocol::kEraseImage};
    for (int i = 0; i < protocol::kEraseImageRepeat; ++i) {
        if (!services_.send(erase)) {
            return false;
        }
    }
    services_.wait(std::chrono::milliseconds(protocol::kEraseImageWaitMs));
    services_.log(QStringLiteral("Sending New Image...\r\n"));
    const std::vector<std::uint8_t> data = imageData(imageBitmap_);
    return services_.send(data);
}

} // namespace vexilon
