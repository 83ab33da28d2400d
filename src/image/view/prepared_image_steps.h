#pragma once

#include "image/pipeline/prepared_image.h"
#include "image/view/pipeline_values.h"
#include "image/view/preview_area.h"

#include <filesystem>
#include <optional>

namespace vexilon {

// What intake and Zoom Out both do once their picture is on the canvas:
// snapshot it, convert the snapshot to the black-and-white prepared image
// and write that to the preview file. Nothing when the snapshot could not be
// had; the preview file is then left empty.
// The picture's area, when given, is converted by the picture mode.
std::optional<PreparedImage> prepareFromCanvas(const PreviewArea& area, PipelineValues& values,
                                               const std::filesystem::path& previewFile,
                                               const PictureMode& mode = {},
                                               PixelRect pictureArea = {});

// The same from a snapshot taken earlier, which becomes the last snapshot.
std::optional<PreparedImage> prepareFromSnapshot(const QImage& snapshot, PipelineValues& values,
                                                 const std::filesystem::path& previewFile,
                                                 const PictureMode& mode, PixelRect pictureArea);

// And then: the canvas cleared, the prepared image shown in the picture view
// and kept in imageBitmap in upload orientation. Nothing to show leaves the
// picture view without a picture and imageBitmap empty.
void showPreparedImage(const PreviewArea& area, PipelineValues& values,
                       const std::optional<PreparedImage>& prepared);

} // namespace vexilon
