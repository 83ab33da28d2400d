#include "image/bitmap/bmp_file.h"

#include "image/bitmap/dib_layout.h"
#include "image/bmp/little_endian.h"

#include <limits>
#include <string>
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

// Why the file's opening (signature, size, headers) cannot be read, or
// empty.
std::string openingFault(std::span<const std::uint8_t> bytes,
                         const std::optional<BmpHeaders>& headers) {
    if (bytes.size() < kMinimumFileSize) {
        return "BMP data is shorter than 54 bytes";
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        return "BMP data does not start with \"BM\"";
    }
    if (le::read32(bytes, 2) > bytes.size()) {
        return "BMP file size is larger than the data given";
    }
    // Longer info headers are refused: their extra fields would be lost.
    if (!headers || (headers->infoSize != kInfoHeaderSize && !headers->core())) {
        return "Unsupported BMP info header size " +
               std::to_string(le::read32(bytes, kBmpFileHeaderSize));
    }
    return {};
}

// Why the picture the headers describe cannot be taken, or empty.
std::string pictureFault(const InfoHeader& header) {
    if (!isSupportedDepth(header.bitCount)) {
        return "Unsupported BMP depth of " + std::to_string(header.bitCount) + " bits per pixel";
    }
    if (header.compression != 0) {
        return "Compressed BMP images are not supported";
    }
    if (header.width <= 0 || header.height == 0) {
        return "BMP image has no pixels";
    }
    return {};
}

// The colour table, once it is known to lie inside the data and the whole
// image to fit the 32-bit size field when written back.
std::optional<std::vector<TableEntry>> colourTable(std::span<const std::uint8_t> bytes,
                                                   const BmpHeaders& headers,
                                                   std::uint64_t pixelSize, std::string& error) {
    const InfoHeader& header = headers.info;
    const std::uint64_t entries =
        header.coloursUsed != 0 ? header.coloursUsed : impliedTableEntries(header.bitCount);
    const std::uint64_t entrySize = headers.tableEntrySize();
    const std::uint64_t tableStart = kBmpFileHeaderSize + headers.infoSize;
    if (entries * entrySize > bytes.size() - tableStart) {
        error = "BMP colour table runs past the end of the data";
        return std::nullopt;
    }
    if (kMinimumFileSize + entries * 4 + pixelSize > std::numeric_limits<std::uint32_t>::max()) {
        error = "BMP image is too large";
        return std::nullopt;
    }
    return readTable(bytes.subspan(tableStart), static_cast<std::size_t>(entries),
                     static_cast<std::size_t>(entrySize));
}

} // namespace

std::optional<Dib> parseBmpFile(std::span<const std::uint8_t> bytes, std::string& error) {
    const std::optional<BmpHeaders> headers =
        bytes.size() < kMinimumFileSize ? std::nullopt : readBmpHeaders(bytes);
    error = openingFault(bytes, headers);
    if (error.empty()) {
        error = pictureFault(headers->info);
    }
    if (!error.empty()) {
        return std::nullopt;
    }
    const InfoHeader& header = headers->info;
    const std::int64_t rows = header.height < 0 ? -std::int64_t{header.height} : header.height;
    const auto pixelSize = pixelBytes(header.width, rows, header.bitCount);
    if (!pixelSize) {
        error = "BMP image is too large";
        return std::nullopt;
    }
    auto table = colourTable(bytes, *headers, *pixelSize, error);
    if (!table) {
        return std::nullopt;
    }
    const std::uint32_t pixelOffset = headers->pixelOffset;
    const auto pixels =
        pixelOffset <= bytes.size() ? bytes.subspan(pixelOffset) : std::span<const std::uint8_t>{};
    auto image = Dib::fromParts(header, std::move(*table), pixels);
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
