#include "sim/machine/dot_image.h"

#include <algorithm>

#include "link/protocol/command_bytes.h"

namespace vexilon::sim {
namespace {

constexpr std::size_t kPixelOffset = 62;
constexpr std::size_t kRowBytes = DotImage::kSide / 8;

std::uint32_t little32(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 |
           static_cast<std::uint32_t>(data[at + 3]) << 24;
}

std::uint16_t little16(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
}

} // namespace

DotImage::DotImage() : dots_(static_cast<std::size_t>(kSide * kSide), 0) {}

std::optional<DotImage> DotImage::fromImageData(std::span<const std::uint8_t> data) {
    if (data.size() != static_cast<std::size_t>(vexilon::protocol::kImageDataSize) ||
        data[0] != 'B' || data[1] != 'M' || little32(data, 2) != data.size() ||
        little32(data, 10) != kPixelOffset || little32(data, 18) != kSide ||
        little32(data, 22) != kSide || little16(data, 28) != 1 || little32(data, 30) != 0) {
        return std::nullopt;
    }
    // The machine takes the rows in the order they come, from the top, and
    // the bits as they are: 0 burns, whatever the palette says.
    DotImage image;
    for (int y = 0; y < kSide; ++y) {
        const std::size_t row = kPixelOffset + static_cast<std::size_t>(y) * kRowBytes;
        for (int x = 0; x < kSide; ++x) {
            const std::uint8_t byte = data[row + static_cast<std::size_t>(x / 8)];
            image.setDot(x, y, ((byte >> (7 - x % 8)) & 1) == 0);
        }
    }
    return image;
}

long long DotImage::dotCount() const {
    return std::count(dots_.begin(), dots_.end(), std::uint8_t{1});
}

} // namespace vexilon::sim
