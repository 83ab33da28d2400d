#include "image/decode/convert.h"
#include "image/decode/decoders.h"

#include <utility>

namespace vexilon {

int decodePicture(std::span<const std::uint8_t> source, Bmp24Image& image) {
    // The order is part of the behaviour: the first decoder whose opening
    // checks pass decides, even if a later one could have read the file.
    static constexpr PictureDecoder kDecoders[] = {decodeJpeg, decodeBmp, decodeTiff,
                                                   decodePng,  decodePcx, decodePhotoCd};
    for (const PictureDecoder decode : kDecoders) {
        Bmp24Image attempt;
        switch (decode(source, attempt)) {
        case DecodeOutcome::Refused:
            continue;
        case DecodeOutcome::Failed:
            return kConvertNotAPicture;
        case DecodeOutcome::Decoded:
            attempt.finish();
            image = std::move(attempt);
            return kConvertOk;
        }
    }
    return kConvertNotAPicture;
}

} // namespace vexilon
