// libFuzzer entry for intake's own steps: the reduced JPEG decode and the
// fitting by area averaging. Whatever the bytes, a picture that is taken in
// comes out at exactly the size it is placed at, and no other does.
#include "image/pipeline/intake_picture.h"
#include "image/pipeline/reduced_jpeg.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) {
        return 0;
    }
    vexilon::IntakePicture picture;
    const auto outcome =
        vexilon::decodeReducedJpeg(file, picture.width, picture.height, picture.pixels);
    std::fclose(file);
    if (outcome != vexilon::ReducedDecode::Decoded) {
        return 0;
    }
    picture.placement = vexilon::fitPicture(picture.width, picture.height);
    const vexilon::PixelImage fitted = vexilon::fittedPixels(picture);
    const vexilon::Placement& at = picture.placement;
    // The reduction never falls below the placement it is fitted to.
    if (picture.pixels.width() < at.width || picture.pixels.height() < at.height ||
        picture.pixels.width() * 2 > picture.width + 16 ||
        fitted.pixels.size() != static_cast<std::size_t>(at.width) * at.height) {
        std::abort();
    }
    return 0;
}
