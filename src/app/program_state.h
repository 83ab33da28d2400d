#pragma once

#include "image/bitmap/bitmap.h"
#include "image/view/pipeline_values.h"

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>

namespace vexilon {

// What the console keeps for the whole run, outside any window. It is made
// before the main window and goes after it; the members are released in the
// reverse order of their declaration: the image pipeline's values first, then
// the bitmap. (The position buffer belongs to the reply parser.)
struct ProgramState {
    // The prepared image, held mirrored top to bottom.
    Bitmap imageBitmap;

    // The colour reported dots are painted in, as 0x00BBGGRR.
    std::int32_t carvedColour = 0;

    // The image pipeline's values: the path handed to the last intake, the
    // preview file, the last canvas snapshot and Zoom Out's side length.
    std::optional<std::string> imagePath;
    std::optional<std::string> previewPath;
    std::optional<QImage> canvasSnapshot;
    std::int32_t zoomSize = 0;
    PictureMode pictureMode;
    std::optional<TakenInPicture> takenIn;

    PipelineValues pipelineValues() {
        return {imageBitmap, imagePath,   previewPath, canvasSnapshot,
                zoomSize,    pictureMode, takenIn};
    }
};

} // namespace vexilon
