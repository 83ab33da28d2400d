#include "image/decode/bmp_layout.h"
#include "image/decode/bmp_pixels.h"
#include "image/decode/decoders.h"

namespace vexilon {

bool mayBeBmp(std::span<const std::uint8_t> head, std::uint64_t) {
    return readBmpLayout(head).has_value();
}

std::uint64_t bmpExtent(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    const std::optional<BmpLayout> layout = readBmpLayout(head);
    if (!layout || !bmpFitsFile(*layout, fileSize)) {
        return head.size();
    }
    if (layout->compressed()) {
        return fileSize;
    }
    return layout->pixelOffset + layout->stride * static_cast<std::uint64_t>(layout->height);
}

DecodeOutcome decodeBmp(std::span<const std::uint8_t> file, Bmp24Image& image) {
    const std::optional<BmpLayout> layout = readBmpLayout(file);
    if (!layout) {
        return DecodeOutcome::Refused;
    }
    if (!bmpFitsFile(*layout, file.size()) ||
        !image.allocate(static_cast<std::int32_t>(layout->width),
                        static_cast<std::int32_t>(layout->height))) {
        return DecodeOutcome::Failed;
    }
    const bool read = layout->compressed() ? readRunLengthRows(file, *layout, image)
                                           : readUncompressedRows(file, *layout, image);
    return read ? DecodeOutcome::Decoded : DecodeOutcome::Failed;
}

} // namespace vexilon
