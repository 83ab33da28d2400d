#include "image/decode/orientation.h"

#include <cstring>

namespace vexilon {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kExifHeader = 6; // "Exif\0\0"

class TiffReader {
public:
    explicit TiffReader(std::span<const std::uint8_t> tiff)
        : tiff_(tiff), bigEndian_(tiff.size() >= 2 && tiff[0] == 'M') {}

    bool has(std::uint64_t at, std::uint64_t count) const {
        return at <= tiff_.size() && count <= tiff_.size() - at;
    }
    std::uint32_t read(std::uint64_t at, int bytes) const {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const int shift = bigEndian_ ? 8 * (bytes - 1 - i) : 8 * i;
            value |= static_cast<std::uint32_t>(tiff_[static_cast<std::size_t>(at) + i]) << shift;
        }
        return value;
    }

private:
    std::span<const std::uint8_t> tiff_;
    bool bigEndian_;
};

// Where stored pixel (sx, sy) of a w x h picture comes from for display
// pixel (x, y), by the orientation's meaning in Exif and TIFF.
struct Source {
    std::int64_t x;
    std::int64_t y;
};
Source sourceOf(int orientation, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    switch (orientation) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {y, h - 1 - x};
    case 7:
        return {w - 1 - y, h - 1 - x};
    case 8:
        return {w - 1 - y, x};
    default:
        return {x, y};
    }
}

} // namespace

int exifOrientation(std::span<const std::uint8_t> app1) {
    if (app1.size() < kExifHeader || std::memcmp(app1.data(), "Exif\0\0", kExifHeader) != 0) {
        return 1;
    }
    const std::span<const std::uint8_t> tiff = app1.subspan(kExifHeader);
    const TiffReader reader(tiff);
    if (!reader.has(0, 8) || (tiff[0] != tiff[1]) || (tiff[0] != 'I' && tiff[0] != 'M') ||
        reader.read(2, 2) != 42) {
        return 1;
    }
    const std::uint64_t directory = reader.read(4, 4);
    if (!reader.has(directory, 2)) {
        return 1;
    }
    const std::uint32_t entries = reader.read(directory, 2);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t at = directory + 2 + 12 * std::uint64_t{i};
        if (!reader.has(at, 12)) {
            return 1;
        }
        if (reader.read(at, 2) == kOrientationTag) {
            const std::uint32_t value = reader.read(at + 8, 2);
            const bool valid = reader.read(at + 2, 2) == kShortType &&
                               reader.read(at + 4, 4) == 1 && value >= 1 && value <= 8;
            return valid ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

bool turnUpright(Bmp24Image& image, int orientation) {
    if (orientation < 2 || orientation > 8) {
        return true;
    }
    const std::int32_t w = image.width();
    const std::int32_t h = image.height();
    Bmp24Image turned;
    if (!(swapsSides(orientation) ? turned.allocate(h, w) : turned.allocate(w, h))) {
        return false;
    }
    for (std::int32_t y = 0; y < turned.height(); ++y) {
        std::uint8_t* out = turned.row(y);
        for (std::int32_t x = 0; x < turned.width(); ++x, out += 3) {
            const Source from = sourceOf(orientation, x, y, w, h);
            std::memcpy(out, image.row(static_cast<std::int32_t>(from.y)) + 3 * from.x, 3);
        }
    }
    image = std::move(turned);
    return true;
}

} // namespace vexilon
