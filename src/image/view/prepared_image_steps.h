#pragma once

#include "image/view/pipeline_values.h"
#include "image/view/preview_area.h"

#include <filesystem>

namespace vexilon {

// What intake and Zoom Out both do once their picture is on the canvas:
// snapshot it, convert the snapshot to the black-and-white prepared image in
// imageBitmap and write that to the preview file.
void prepareFromCanvas(const PreviewArea& area, PipelineValues& values,
                       const std::filesystem::path& previewFile);

// And then: the canvas cleared, the prepared image shown in the picture view
// and imageBitmap turned to upload orientation.
void showPreparedImage(const PreviewArea& area, PipelineValues& values);

} // namespace vexilon
