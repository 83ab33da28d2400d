#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"
#include "image/decode/large_buffer.h"
#include "image/decode/over_white.h"

#include <cstring>

#include <webp/decode.h>

namespace vexilon {
namespace {

// Opaque pictures are decoded straight into the intermediate image, whose
// rows are stored bottom first: libwebp's flip writes them that way.
bool decodeOpaque(std::span<const std::uint8_t> file, WebPDecoderConfig& config,
                  Bmp24Image& image) {
    WebPDecBuffer& out = config.output;
    out.colorspace = MODE_BGR;
    out.is_external_memory = 1;
    out.u.RGBA.rgba = image.row(image.height() - 1);
    out.u.RGBA.stride = static_cast<int>(image.stride());
    out.u.RGBA.size = image.stride() * static_cast<std::size_t>(image.height());
    config.options.flip = 1;
    return WebPDecode(file.data(), file.size(), &config) == VP8_STATUS_OK;
}

// Pictures with alpha are decoded whole, then put over white.
bool decodeTransparent(std::span<const std::uint8_t> file, WebPDecoderConfig& config,
                       Bmp24Image& image) {
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(image.width());
    const std::size_t size = rowBytes * static_cast<std::size_t>(image.height());
    const LargeBuffer held = allocateLargeBuffer(size);
    if (!held) {
        return false;
    }
    WebPDecBuffer& out = config.output;
    out.colorspace = MODE_BGRA;
    out.is_external_memory = 1;
    out.u.RGBA.rgba = held.get();
    out.u.RGBA.stride = static_cast<int>(rowBytes);
    out.u.RGBA.size = size;
    if (WebPDecode(file.data(), file.size(), &config) != VP8_STATUS_OK) {
        return false;
    }
    for (std::int32_t y = 0; y < image.height(); ++y) {
        putOverWhite(held.get() + static_cast<std::size_t>(y) * rowBytes, image.width(),
                     image.row(y));
    }
    return true;
}

} // namespace

bool mayBeWebp(std::span<const std::uint8_t> head, std::uint64_t) {
    return head.size() >= 12 && std::memcmp(head.data(), "RIFF", 4) == 0 &&
           std::memcmp(head.data() + 8, "WEBP", 4) == 0;
}

// Still pictures, lossy or lossless, with or without alpha; an animation is
// not taken.
DecodeOutcome decodeWebp(std::span<const std::uint8_t> file, Bmp24Image& image) {
    WebPDecoderConfig config;
    if (!mayBeWebp(file, file.size()) || WebPInitDecoderConfig(&config) == 0 ||
        WebPGetFeatures(file.data(), file.size(), &config.input) != VP8_STATUS_OK) {
        return DecodeOutcome::Refused;
    }
    const WebPBitstreamFeatures& features = config.input;
    if (features.has_animation != 0 || !pictureSizeAllowed(features.width, features.height) ||
        !image.allocate(features.width, features.height)) {
        return DecodeOutcome::Failed;
    }
    const bool decoded = features.has_alpha != 0 ? decodeTransparent(file, config, image)
                                                 : decodeOpaque(file, config, image);
    WebPFreeDecBuffer(&config.output);
    return decoded ? DecodeOutcome::Decoded : DecodeOutcome::Failed;
}

} // namespace vexilon
