#include "image/decode/decoders.h"

#include <cmath>
#include <cstring>

namespace vexilon {
namespace {

constexpr std::int32_t kWidth = 768;
constexpr std::int32_t kHeight = 512;
// An Image Pac starts with this signature; nothing else identifies the file.
constexpr char kSignature[] = "PCD_IPI";
constexpr std::size_t kSignatureOffset = 0x800;
constexpr std::size_t kBaseOffset = 0x30000;
// Per pair of rows: two rows of luma, then 384 bytes of each chroma.
constexpr std::size_t kGroupBytes = 3 * kWidth;
constexpr std::size_t kBaseEnd = kBaseOffset + kGroupBytes * (kHeight / 2);
static_assert(kBaseEnd == kPhotoCdBaseEnd);

std::uint8_t toByte(double value) {
    const double v = std::floor(value + 0.5);
    return v <= 0 ? 0 : v >= 255 ? 255 : static_cast<std::uint8_t>(v);
}

void convertRow(const std::uint8_t* luma, const std::uint8_t* chroma, std::uint8_t* out) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
        const double l = luma[x];
        const double c1 = chroma[x / 2] - 156;
        const double c2 = chroma[kWidth / 2 + x / 2] - 137;
        out[3 * x] = toByte(1.407488 * l + 2.0360448 * c1 + 0.0000256 * c2);
        out[3 * x + 1] = toByte(1.407488 * l - 0.3954176 * c1 - 0.67392 * c2);
        out[3 * x + 2] = toByte(1.407488 * l + 0.0000256 * c1 + 1.3230336 * c2);
    }
}

} // namespace

bool mayBePhotoCd(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    constexpr std::size_t kSignatureBytes = sizeof kSignature - 1;
    return fileSize >= kBaseEnd && head.size() >= kSignatureOffset + kSignatureBytes &&
           std::memcmp(head.data() + kSignatureOffset, kSignature, kSignatureBytes) == 0;
}

std::uint64_t photoCdExtent(std::span<const std::uint8_t>, std::uint64_t) {
    return kBaseEnd;
}

DecodeOutcome decodePhotoCd(std::span<const std::uint8_t> file, Bmp24Image& image) {
    if (file.size() < kBaseEnd || !mayBePhotoCd(file, file.size())) {
        return DecodeOutcome::Refused;
    }
    if (!image.allocate(kWidth, kHeight)) {
        return DecodeOutcome::Failed;
    }
    for (std::int32_t pair = 0; pair < kHeight / 2; ++pair) {
        const std::uint8_t* group =
            file.data() + kBaseOffset + kGroupBytes * static_cast<std::size_t>(pair);
        const std::uint8_t* chroma = group + 2 * kWidth;
        convertRow(group, chroma, image.row(2 * pair));
        convertRow(group + kWidth, chroma, image.row(2 * pair + 1));
    }
    return DecodeOutcome::Decoded;
}

} // namespace vexilon
