// libFuzzer entry for the picture decoders behind convertToBmp24.
#include "image/decode/bmp_layout.h"
#include "image/decode/convert.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    vexilon::Bmp24Image image;
    if (vexilon::decodePicture(file, image) == vexilon::kConvertOk) {
        // The intermediate image must read back as the size it was made for.
        const auto layout = vexilon::readBmpLayout(image.bytes());
        if (!layout || !vexilon::isPlain24(*layout) ||
            !vexilon::bmpFitsFile(*layout, image.bytes().size()) ||
            layout->width != image.width() || layout->height != image.height() ||
            image.bytes().size() !=
                vexilon::Bmp24Image::kHeaderBytes + image.stride() * layout->height) {
            std::abort();
        }
    }
    if (const auto layout = vexilon::readBmpLayout(file)) {
        vexilon::bmpFitsFile(*layout, size);
    }
    return 0;
}
