#include "image/bitmap/bmp_file.h"

#include "image/bitmap/dib_layout.h"
#include "image/bmp/little_endian.h"

#include <limits>
#include <utility>

namespace vexilon {

namespace {

constexpr std::size_t kMinimumFileSize = kBmpHeadersSize;

std::vector<TableEntry> readTable(std::span<const std::uint8_t> bytes, std::size_t count,
                                  std::size_t entrySize) {
    std::vector<TableEntry> table(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes.data() + i * entrySize;
        table[i] = {entry[0], entry[1], entry[2], entrySize == 4 ? entry[3] : std::uint8_t{0}};
    }
    return table;
}

} // namespace

std::optional<Dib> parseBmpFile(std::span<const std::uint8_t> bytes, std::string& error) {
    if (bytes.size() < kMinimumFileSize) {
        error = "BMP data is shorter than 54 bytes";
        return std::nullopt;
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        error = "BMP data does not start with \"BM\"";
        return std::nullopt;
    }
    if (le::read32(bytes, 2) > bytes.size()) {
        error = "BMP file size is larger than the data given";
        return std::nullopt;
    }
    // Longer info headers are refused: their extra fields would be lost.
    const std::optional<BmpHeaders> headers = readBmpHeaders(bytes);
    if (!headers || (headers->infoSize != kInfoHeaderSize && !headers->core())) {
        error = "Unsupported BMP info header size " +
                std::to_string(le::read32(bytes, kBmpFileHeaderSize));
        return std::nullopt;
    }
    const InfoHeader& header = headers->info;
    if (!isSupportedDepth(header.bitCount)) {
        error = "Unsupported BMP depth of " + std::to_string(header.bitCount) + " bits per pixel";
        return std::nullopt;
    }
    if (header.compression != 0) {
        error = "Compressed BMP images are not supported";
        return std::nullopt;
    }
    if (header.width <= 0 || header.height == 0) {
        error = "BMP image has no pixels";
        return std::nullopt;
    }
    const std::int64_t rows = header.height < 0 ? -std::int64_t{header.height} : header.height;
    const auto pixelSize = pixelBytes(header.width, rows, header.bitCount);
    if (!pixelSize) {
        error = "BMP image is too large";
        return std::nullopt;
    }

    const std::uint64_t entries =
        header.coloursUsed != 0 ? header.coloursUsed : impliedTableEntries(header.bitCount);
    const std::uint64_t entrySize = headers->tableEntrySize();
    const std::uint64_t tableStart = kBmpFileHeaderSize + headers->infoSize;
    if (entries * entrySize > bytes.size() - tableStart) {
        error = "BMP colour table runs past the end of the data";
        return std::nullopt;
    }
    // What we read must also fit the 32-bit size field when written back.
    if (kMinimumFileSize + entries * 4 + *pixelSize > std::numeric_limits<std::uint32_t>::max()) {
        error = "BMP image is too large";
        return std::nullopt;
    }
    auto table = readTable(bytes.subspan(tableStart), static_cast<std::size_t>(entries),
                           static_cast<std::size_t>(entrySize));

    const std::uint32_t pixelOffset = headers->pixelOffset;
    const auto pixels =
        pixelOffset <= bytes.size() ? bytes.subspan(pixelOffset) : std::span<const std::uint8_t>{};
    auto image = Dib::fromParts(header, std::move(table), pixels);
    if (!image) {
        error = "BMP pixel data is shorter than the image needs";
        return std::nullopt;
    }
    return image;
}

std::vector<std::uint8_t> encodeBmpFile(const Dib& image) {
    const auto tableBytes = image.table().size() * 4;
    const auto pixels = image.pixelRows();
    // Loading and making images keep them far below the 32-bit sizes.
    std::vector<std::uint8_t> out(kBmpHeadersSize);
    if (!writeBmpHeaders(out.data(), image.header(), tableBytes, pixels.size())) {
        return {};
    }
    out.reserve(kBmpHeadersSize + tableBytes + pixels.size());
    for (const TableEntry& entry : image.table()) {
        out.insert(out.end(), {entry.blue, entry.green, entry.red, entry.reserved});
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

} // namespace vexilon
