#include "image/pipeline/prepared_image.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace vexilon {
namespace {

// The file layout both fast paths rely on: "BM", the 40-byte info header and
// a colour table of 2 entries for 1 bit per pixel.
constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr std::size_t kPlainHeader = kFileHeader + kInfoHeader;
constexpr std::size_t kOneBitHeader = kPlainHeader + 8;

std::uint32_t le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | (std::uint32_t{bytes[at + 1]} << 8);
}

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return le16(bytes, at) | (le16(bytes, at + 2) << 16);
}

void put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::size_t rowBytes(std::size_t width, std::size_t bits) {
    return (width * bits + 31) / 32 * 4;
}

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
    if (bytes.size() < kPlainHeader || bytes[0] != 'B' || bytes[1] != 'M' ||
        le32(bytes, 14) != kInfoHeader || le16(bytes, 26) != 1 || le16(bytes, 28) != bits ||
        le32(bytes, 30) != 0 || le32(bytes, 46) != 0) {
        return std::nullopt;
    }
    for (std::size_t at = 34; bare && at < kPlainHeader; at += 4) {
        if (le32(bytes, at) != 0) {
            return std::nullopt;
        }
    }
    const auto width = static_cast<std::int32_t>(le32(bytes, 18));
    const auto height = static_cast<std::int32_t>(le32(bytes, 22));
    if (width < 1 || height < 1 || width > 65535 || height > 65535) {
        return std::nullopt;
    }
    Rows rows{static_cast<std::size_t>(width), static_cast<std::size_t>(height),
              bits == 1 ? kOneBitHeader : kPlainHeader, rowBytes(width, bits)};
    const std::size_t size = rows.offset + rows.stride * rows.height;
    if (le32(bytes, 2) != size || le32(bytes, 10) != rows.offset || bytes.size() != size) {
        return std::nullopt;
    }
    return rows;
}

Bitmap loaded(std::span<const std::uint8_t> bytes) {
    Bitmap bitmap;
    bitmap.loadFromBmpBytes(bytes);
    return bitmap;
}

// The 1-bit file convertDepth(1) would give for a plain 24-bit image, made
// in one pass over the bytes.
std::vector<std::uint8_t> thresholded(std::span<const std::uint8_t> source, const Rows& in) {
    const std::size_t stride = rowBytes(in.width, 1);
    std::vector<std::uint8_t> file(kOneBitHeader + stride * in.height, 0);
    // Size and depth are the source's; every field after them is 0.
    std::copy(source.begin(), source.begin() + 30, file.begin());
    put32(&file[2], static_cast<std::uint32_t>(file.size()));
    put32(&file[10], kOneBitHeader);
    file[28] = 1;
    std::fill_n(&file[kPlainHeader + 4], 3, std::uint8_t{0xFF});
    for (std::size_t y = 0; y < in.height; ++y) {
        const std::uint8_t* pixel = &source[in.offset + y * in.stride];
        std::uint8_t* row = &file[kOneBitHeader + y * stride];
        for (std::size_t x = 0; x < in.width; ++x, pixel += 3) {
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
        return loaded(thresholded(snapshotBmp, *rows));
    }
    Bitmap snapshot = loaded(snapshotBmp);
    return snapshot.isEmpty() ? Bitmap() : snapshot.convertDepth(1);
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
