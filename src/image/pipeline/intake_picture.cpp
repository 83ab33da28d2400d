#include "image/pipeline/intake_picture.h"

#include "image/decode/convert.h"
#include "image/decode/decoders.h"
#include "image/decode/file_bytes.h"
#include "image/pipeline/reduced_jpeg.h"

#include <optional>

namespace vexilon {

bool decodeForIntake(const std::string& path, IntakePicture& picture) {
    if (path.empty()) {
        return false;
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    Bmp24Image pixels;
    {
        // A named pipe or a device is never opened for long enough to block.
        const std::optional<PictureFile> file = PictureFile::open(path);
        if (!file) {
            return false;
        }
        const FileStream stream = file->stream();
        if (!stream ||
            decodeReducedJpeg(stream.get(), width, height, pixels) == ReducedDecode::NotReduced) {
            if (decodePictureFile(*file, pixels) != kConvertOk) {
                return false;
            }
            width = pixels.width();
            height = pixels.height();
        }
    }
    picture.width = width;
    picture.height = height;
    picture.placement = fitPicture(width, height);
    picture.pixels = std::move(pixels);
    return true;
}

PixelImage fittedPixels(const IntakePicture& picture) {
    return scaleByAreaAverage(picture.pixels, picture.placement.width, picture.placement.height);
}

} // namespace vexilon
