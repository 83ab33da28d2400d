#include "image/pipeline/prepared_image.h"

#include "image/bmp/bmp_headers.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace vexilon {
namespace {

// The colour table of a 1-bit file written here: black, then white.
constexpr std::size_t kOneBitHeader = kBmpHeadersSize + 2 * 4;

struct Rows {
    std::size_t width = 0;
    std::size_t height = 0;
    std::size_t offset = 0;
    std::size_t stride = 0;
};

// The rows of a BMP file that holds nothing but an uncompressed, bottom-up
// image of `bits` per pixel with the colour table the depth implies, the
// pixels following it, the file exactly as long as it states: what the canvas
// snapshot and the prepared image are. With `bare`, the optional fields after
// the compression (image size, resolutions, colour counts) must be 0 too, as
// in any image the bitmap operations make. Anything else takes the general
// road.
std::optional<Rows> plainRows(std::span<const std::uint8_t> bytes, unsigned bits, bool bare) {
    if (bytes.size() < kBmpHeadersSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    const std::optional<BmpHeaders> headers = readBmpHeaders(bytes);
    if (!headers || headers->infoSize != kInfoHeaderSize) {
        return std::nullopt;
    }
    const InfoHeader& info = headers->info;
    if (info.planes != 1 || info.bitCount != bits || info.compression != 0 ||
        info.coloursUsed != 0) {
        return std::nullopt;
    }
    if (bare && (info.imageSize != 0 || info.xPixelsPerMetre != 0 || info.yPixelsPerMetre != 0 ||
                 info.coloursImportant != 0)) {
        return std::nullopt;
    }
    if (info.width < 1 || info.height < 1 || info.width > 65535 || info.height > 65535) {
        return std::nullopt;
    }
    Rows rows{static_cast<std::size_t>(info.width), static_cast<std::size_t>(info.height),
              bits == 1 ? kOneBitHeader : kBmpHeadersSize,
              static_cast<std::size_t>(bmpRowStride(static_cast<std::uint64_t>(info.width), bits))};
    const std::size_t size = rows.offset + rows.stride * rows.height;
    if (headers->fileSize != size || headers->pixelOffset != rows.offset || bytes.size() != size) {
        return std::nullopt;
    }
    return rows;
}

Bitmap loaded(std::span<const std::uint8_t> bytes) {
    Bitmap bitmap;
    bitmap.loadFromBmpBytes(bytes);
    return bitmap;
}

// The 1-bit file convertDepth(1) would give for a 24-bit image of these
// pixels, made in one pass over them.
std::vector<std::uint8_t> thresholded(const PixelView& pixels) {
    const std::size_t width = static_cast<std::size_t>(pixels.width);
    const std::size_t height = static_cast<std::size_t>(pixels.height);
    const std::size_t stride = static_cast<std::size_t>(bmpRowStride(width, 1));
    std::vector<std::uint8_t> file(kOneBitHeader + stride * height, 0);
    // Size and depth are the source's; every field after them is 0.
    InfoHeader info;
    info.width = pixels.width;
    info.height = pixels.height;
    info.bitCount = 1;
    writeBmpHeaders(file.data(), info, kOneBitHeader - kBmpHeadersSize, stride * height);
    std::fill_n(&file[kBmpHeadersSize + 4], 3, std::uint8_t{0xFF});
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* pixel = pixels.row(static_cast<std::int64_t>(height - 1 - y));
        std::uint8_t* row = &file[kOneBitHeader + y * stride];
        for (std::size_t x = 0; x < width; ++x, pixel += pixels.step) {
            if (isWhite({pixel[2], pixel[1], pixel[0]})) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
            }
        }
    }
    return file;
}

} // namespace

Bitmap blackAndWhite(std::span<const std::uint8_t> snapshotBmp) {
    if (const auto rows = plainRows(snapshotBmp, 24, false)) {
        // Bottom-up rows: the picture's top row is the file's last.
        const std::uint8_t* last = &snapshotBmp[rows->offset + (rows->height - 1) * rows->stride];
        return blackAndWhite(PixelView{last, -static_cast<std::ptrdiff_t>(rows->stride),
                                       static_cast<int>(rows->width),
                                       static_cast<int>(rows->height), 3});
    }
    Bitmap snapshot = loaded(snapshotBmp);
    return snapshot.isEmpty() ? Bitmap() : snapshot.convertDepth(1);
}

Bitmap blackAndWhite(const PixelView& pixels) {
    if (pixels.top == nullptr || pixels.width < 1 || pixels.height < 1 || pixels.step < 3 ||
        pixels.width > 65535 || pixels.height > 65535) {
        return {};
    }
    return loaded(thresholded(pixels));
}

Bitmap uploadOrientation(const Bitmap& prepared) {
    // Two half turns and a mirror come to the rows in the opposite order.
    std::vector<std::uint8_t> bytes = prepared.toBmpBytes();
    if (const auto rows = plainRows(bytes, 1, true)) {
        for (std::size_t low = 0, high = rows->height - 1; low < high; ++low, --high) {
            std::swap_ranges(&bytes[rows->offset + low * rows->stride],
                             &bytes[rows->offset + (low + 1) * rows->stride],
                             &bytes[rows->offset + high * rows->stride]);
        }
        return loaded(bytes);
    }
    return prepared.rotateQuarter(true).rotateQuarter(true).mirror(true, false);
}

Bitmap rotatedPrepared(const Bitmap& uploadOriented) {
    return uploadOriented.mirror(true, false).rotateQuarter(false);
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
