#pragma once

#include "image/bitmap/bitmap.h"
#include "image/pipeline/area_average.h"
#include "image/pipeline/picture_mode.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

namespace vexilon {

// The canvas as the last intake left it, and where on it the fitted picture
// lies: what a change of picture mode converts again.
struct TakenInPicture {
    QImage snapshot;
    PixelRect area;
};

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
    // How pictures become dots, and the last picture taken in.
    PictureMode& pictureMode;
    std::optional<TakenInPicture>& takenIn;
};

} // namespace vexilon
