#pragma once

#include "image/bitmap/bitmap.h"
#include "image/view/preview_area.h"
#include "ui/base/services.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace vexilon {

// Hands the prepared image to the machine: shows it on the canvas, erases
// the machine's stored image, waits for it, then sends the image data in
// one write and opens the job controls. Nothing is read back: a send that
// the channel could write is all the console ever learns.
class ImageUpload : public QObject {
    Q_OBJECT
public:
    ImageUpload(PreviewArea area, const Bitmap& imageBitmap, std::filesystem::path programDirectory,
                Services services, QObject* parent = nullptr);

    // True when the whole image went to the machine.
    bool upload();

signals:
    // The whole image went to the machine, holding this many dots to burn:
    // the job controls open and the job's progress starts from it.
    void imageSent(std::int64_t blackDots);

private:
    // Erase image, the wait, the image data; false as soon as a send fails.
    bool sendImage();

    PreviewArea area_;
    const Bitmap& imageBitmap_;
    std::filesystem::path previewFile_;
    Services services_;
};

} // namespace vexilon
