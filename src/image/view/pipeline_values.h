#pragma once

#include "image/bitmap/bitmap.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

namespace vexilon {

// The image pipeline's program-wide values, owned by the console's state and
// lent to intake, editing and upload.
struct PipelineValues {
    // The prepared image in upload orientation (mirrored top to bottom).
    Bitmap& imageBitmap;
    // The path handed to the last intake, taken in or not.
    std::optional<std::string>& imagePath;
    // The preview file, once a picture was taken in or zoomed.
    std::optional<std::string>& previewPath;
    // The last 512 x 512 snapshot of the canvas.
    std::optional<QImage>& canvasSnapshot;
    // Zoom Out's side length: 0 before the first intake, 512 after each.
    std::int32_t& zoomSize;
};

} // namespace vexilon
