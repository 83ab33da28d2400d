#include "image/decode/convert.h"
#include "image/decode/decoders.h"
#include "image/decode/file_bytes.h"

#include <cstdio>
#include <memory>
#include <utility>

namespace vexilon {
namespace {

// The order is part of the behaviour: the first decoder whose opening checks
// pass decides, even if a later one could have read the file.
constexpr PictureDecoder kDecoders[] = {decodeJpeg, decodeBmp, decodeTiff,
                                        decodePng,  decodePcx, decodePhotoCd};

int settle(DecodeOutcome outcome, Bmp24Image& attempt, Bmp24Image& image) {
    if (outcome != DecodeOutcome::Decoded) {
        return kConvertNotAPicture;
    }
    attempt.finish();
    image = std::move(attempt);
    return kConvertOk;
}

int decodeFrom(std::size_t first, std::span<const std::uint8_t> source, Bmp24Image& image) {
    for (std::size_t i = first; i < std::size(kDecoders); ++i) {
        Bmp24Image attempt;
        const DecodeOutcome outcome = kDecoders[i](source, attempt);
        if (outcome != DecodeOutcome::Refused) {
            return settle(outcome, attempt, image);
        }
    }
    return kConvertNotAPicture;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

int decodePicture(std::span<const std::uint8_t> source, Bmp24Image& image) {
    return decodeFrom(0, source, image);
}

int decodePictureFile(const std::string& path, Bmp24Image& image) {
    if (const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb")); file) {
        Bmp24Image attempt;
        const DecodeOutcome outcome = decodeJpegFile(file.get(), attempt);
        if (outcome != DecodeOutcome::Refused) {
            return settle(outcome, attempt, image);
        }
    }
    const auto file = readFileBytes(path);
    return file ? decodeFrom(1, file->bytes(), image) : kConvertNotAPicture;
}

} // namespace vexilon
