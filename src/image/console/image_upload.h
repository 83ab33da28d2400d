#pragma once

#include "image/bitmap/bitmap.h"
#include "image/console/preview_area.h"
#include "ui/blocking_wait.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

class QWidget;

namespace vexilon {

// Hands the prepared image to the machine: shows it on the canvas, erases
// the machine's stored image, waits for it, then sends the image data in
// one write and opens the job controls. Nothing is read back: a send that
// the channel could write is all the console ever learns.
class ImageUpload {
public:
    using Log = std::function<void(const QString& text)>;
    using ShowMessage = std::function<void(const QString& text, const QString& caption)>;
    // True when every byte was written.
    using Send = std::function<bool(std::span<const std::uint8_t> bytes)>;

    ImageUpload(PreviewArea area, const Bitmap& imageBitmap, const QWidget& window,
                std::filesystem::path programDirectory, Log log, ShowMessage showMessage, Send send,
                BlockingWait wait);

    // True when the whole image went to the machine.
    bool upload();

private:
    // Erase image, the wait, the image data; false as soon as a send fails.
    bool sendImage();

    PreviewArea area_;
    const Bitmap& imageBitmap_;
    const QWidget& window_;
    std::filesystem::path previewFile_;
    Log log_;
    ShowMessage showMessage_;
    Send send_;
    BlockingWait wait_;
};

} // namespace vexilon
