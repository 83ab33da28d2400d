#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"
#include "image/decode/jpeg_job.h"
#include "image/decode/orientation.h"

#include <cstdio>

namespace vexilon {
namespace {

DecodeOutcome decodeFrom(JpegJob& job, bool headerRead, Bmp24Image& image) {
    if (!headerRead) {
        return DecodeOutcome::Refused;
    }
    const jpeg_decompress_struct& c = job.info();
    if (c.num_components != 1 && c.num_components != 3) {
        return DecodeOutcome::Refused;
    }
    if (!pictureSizeAllowed(c.image_width, c.image_height) ||
        !image.allocate(static_cast<std::int32_t>(c.image_width),
                        static_cast<std::int32_t>(c.image_height))) {
        return DecodeOutcome::Failed;
    }
    const bool read = job.readPixels(image) && turnUpright(image, job.orientation());
    return read ? DecodeOutcome::Decoded : DecodeOutcome::Failed;
}

} // namespace

bool mayBeJpeg(std::span<const std::uint8_t> head, std::uint64_t) {
    return head.size() >= 2 && head[0] == 0xFF && head[1] == 0xD8;
}

DecodeOutcome decodeJpeg(std::span<const std::uint8_t> file, Bmp24Image& image) {
    if (!mayBeJpeg(file, file.size())) {
        return DecodeOutcome::Refused;
    }
    JpegJob job;
    return decodeFrom(job, job.readHeader(file.data(), file.size()), image);
}

DecodeOutcome decodeJpegFile(std::FILE* file, Bmp24Image& image) {
    if (!rewoundJpegFile(file)) {
        return DecodeOutcome::Refused;
    }
    JpegJob job;
    return decodeFrom(job, job.readHeader(file), image);
}

} // namespace vexilon
