#pragma once

#include "image/bitmap/bitmap.h"

#include <QByteArray>
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
    std::int32_t carvedColor = 0;

    std::optional<std::string> lastPicturePath;
    std::optional<std::string> previewFilePath;
    std::optional<QByteArray> previewSnapshot;
};

} // namespace vexilon
