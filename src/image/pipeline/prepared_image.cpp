#include "image/pipeline/prepared_image.h"

#include "image/bmp/bmp_headers.h"
#include "image/pipeline/dot_patterns.h"

#include <algorithm>
#include <bit>

namespace vexilon {
namespace {

// The colour table of a 1-bit file written here: black, then white.
constexpr std::size_t kOneBitHeader = kBmpHeadersSize + 2 * 4;
constexpr std::size_t kPixelBytes = PreparedImage::kRowBytes * kPreparedSide;

static_assert(kOneBitHeader + kPixelBytes == kPreparedFileSize);

// The 1-bit file's header as the bitmap object writes one: size and depth,
// every field after them 0, then black and white.
void writeOneBitHeader(std::uint8_t* file) {
    InfoHeader info;
    info.width = kPreparedSide;
    info.height = kPreparedSide;
    info.bitCount = 1;
    writeBmpHeaders(file, info, kOneBitHeader - kBmpHeadersSize, kPixelBytes);
    std::fill_n(file + kBmpHeadersSize, 4, std::uint8_t{0});
    std::fill_n(file + kBmpHeadersSize + 4, 3, std::uint8_t{0xFF});
    file[kBmpHeadersSize + 7] = 0;
}

// The pixel rows of a plain 512 x 512 1-bit file with black first and white
// second in its table, as the bitmap object writes it; nothing otherwise.
std::optional<std::span<const std::uint8_t>> plainOneBitRows(std::span<const std::uint8_t> file) {
    const std::optional<BmpHeaders> headers = readBmpHeaders(file);
    if (file.size() != kPreparedFileSize || !headers || headers->infoSize != kInfoHeaderSize ||
        headers->pixelOffset != kOneBitHeader) {
        return std::nullopt;
    }
    const InfoHeader& info = headers->info;
    const std::uint8_t* table = file.data() + kBmpHeadersSize;
    const bool blackThenWhite = std::all_of(table, table + 3, [](auto v) { return v == 0; }) &&
                                std::all_of(table + 4, table + 7, [](auto v) { return v == 0xFF; });
    if (info.width != kPreparedSide || info.height != kPreparedSide || info.bitCount != 1 ||
        info.compression != 0 || !blackThenWhite) {
        return std::nullopt;
    }
    return file.subspan(kOneBitHeader);
}

} // namespace

PreparedImage::PreparedImage() {
    bits_.fill(0xFF);
}

std::optional<PreparedImage> PreparedImage::fromSnapshot(const PixelView& snapshot) {
    if (snapshot.top == nullptr || snapshot.width != kPreparedSide ||
        snapshot.height != kPreparedSide || snapshot.step < 3) {
        return std::nullopt;
    }
    PreparedImage image;
    image.bits_.fill(0);
    for (int y = 0; y < kPreparedSide; ++y) {
        const std::uint8_t* pixel = snapshot.row(y);
        std::uint8_t* out = image.row(y);
        for (int x = 0; x < kPreparedSide; ++x, pixel += snapshot.step) {
            if (isWhite({pixel[2], pixel[1], pixel[0]})) {
                out[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
            }
        }
    }
    return image;
}

std::optional<PreparedImage> PreparedImage::fromSnapshot(const PixelView& snapshot,
                                                         const PictureMode& mode,
                                                         PixelRect pictureArea) {
    std::optional<PreparedImage> image = fromSnapshot(snapshot);
    const int left = std::max(pictureArea.x, 0);
    const int top = std::max(pictureArea.y, 0);
    const PixelRect area{left, top,
                         std::min(pictureArea.x + pictureArea.width, kPreparedSide) - left,
                         std::min(pictureArea.y + pictureArea.height, kPreparedSide) - top};
    if (!image || mode == PictureMode{} || area.width <= 0 || area.height <= 0) {
        return image;
    }
    const std::vector<std::uint8_t> dots = pictureDots(snapshot, area, mode);
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            image->setWhite(area.x + x, area.y + y,
                            dots[static_cast<std::size_t>(y) * area.width + x] != 0);
        }
    }
    return image;
}

void PreparedImage::setWhite(int x, int y, bool white) {
    const auto bit = static_cast<std::uint8_t>(0x80u >> (x % 8));
    std::uint8_t& byte = row(y)[x / 8];
    byte = white ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
}

std::optional<PreparedImage> PreparedImage::fromUploadBitmap(const Bitmap& uploadOriented) {
    const std::vector<std::uint8_t> file = uploadOriented.toBmpBytes();
    const auto rows = plainOneBitRows(file);
    if (!rows) {
        return std::nullopt;
    }
    // Upload orientation is the picture mirrored top to bottom, and the file
    // runs bottom-up: its rows come in the picture's own order.
    PreparedImage image;
    std::copy(rows->begin(), rows->end(), image.bits_.begin());
    return image;
}

bool PreparedImage::isWhiteAt(int x, int y) const {
    return (row(y)[x / 8] & (0x80u >> (x % 8))) != 0;
}

PreparedImage PreparedImage::rotated() const {
    PreparedImage turned;
    turned.bits_.fill(0);
    for (int y = 0; y < kPreparedSide; ++y) {
        for (int x = 0; x < kPreparedSide; ++x) {
            if (isWhiteAt(x, y)) {
                const int toX = kPreparedSide - 1 - y;
                turned.row(x)[toX / 8] |= static_cast<std::uint8_t>(0x80u >> (toX % 8));
            }
        }
    }
    return turned;
}

std::vector<std::uint8_t> PreparedImage::bmpFile() const {
    return bmpFile(false);
}

Bitmap PreparedImage::uploadBitmap() const {
    Bitmap bitmap;
    bitmap.loadFromBmpBytes(bmpFile(true));
    return bitmap;
}

std::vector<std::uint8_t> PreparedImage::bmpFile(bool mirrored) const {
    std::vector<std::uint8_t> file(kPreparedFileSize);
    writeOneBitHeader(file.data());
    for (int y = 0; y < kPreparedSide; ++y) {
        // The file runs bottom-up; mirrored, the picture's top row comes first.
        const int fileRow = mirrored ? y : kPreparedSide - 1 - y;
        std::copy_n(row(y), kRowBytes, &file[kOneBitHeader + fileRow * kRowBytes]);
    }
    return file;
}

std::vector<std::uint8_t> imageData(const Bitmap& uploadOriented) {
    return uploadOriented.toBmpBytes();
}

std::int64_t blackDotCount(std::span<const std::uint8_t> imageData) {
    if (imageData.size() != kPreparedFileSize) {
        return 0;
    }
    std::int64_t black = 0;
    for (const std::uint8_t byte : imageData.subspan(kOneBitHeader)) {
        black += 8 - std::popcount(byte);
    }
    return black;
}

} // namespace vexilon
