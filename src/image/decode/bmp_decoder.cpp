#include "image/decode/bmp_layout.h"
#include "image/decode/decoders.h"

#include <cstring>

namespace vexilon {

bool mayBeBmp(std::span<const std::uint8_t> head, std::uint64_t) {
    return readBmp24Layout(head).has_value();
}

std::uint64_t bmpExtent(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    const std::optional<Bmp24Layout> layout = readBmp24Layout(head);
    if (!layout || !bmp24FitsFile(*layout, fileSize)) {
        return head.size();
    }
    return layout->pixelOffset + layout->stride * static_cast<std::uint64_t>(layout->height);
}

DecodeOutcome decodeBmp(std::span<const std::uint8_t> file, Bmp24Image& image) {
    const std::optional<Bmp24Layout> layout = readBmp24Layout(file);
    if (!layout) {
        return DecodeOutcome::Refused;
    }
    if (!bmp24FitsFile(*layout, file.size()) ||
        !image.allocate(static_cast<std::int32_t>(layout->width),
                        static_cast<std::int32_t>(layout->height))) {
        return DecodeOutcome::Failed;
    }
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(layout->width);
    for (std::int32_t y = 0; y < image.height(); ++y) {
        const std::size_t fileRow = layout->topDown
                                        ? static_cast<std::size_t>(y)
                                        : static_cast<std::size_t>(image.height() - 1 - y);
        std::memcpy(image.row(y), file.data() + layout->pixelOffset + fileRow * layout->stride,
                    rowBytes);
    }
    return DecodeOutcome::Decoded;
}

} // namespace vexilon
