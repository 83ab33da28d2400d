#include "image/bitmap/bmp_file.h"

#include "image/bitmap/byte_order.h"
#include "image/bitmap/dib_layout.h"

#include <limits>
#include <utility>

namespace vexilon {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kMinimumFileSize = 54;
constexpr std::uint32_t kCoreHeaderSize = 12;

InfoHeader readInfoHeader(std::span<const std::uint8_t> bytes) {
    InfoHeader header;
    header.width = le::readSigned32(bytes, 18);
    header.height = le::readSigned32(bytes, 22);
    header.planes = le::read16(bytes, 26);
    header.bitCount = le::read16(bytes, 28);
    header.compression = le::read32(bytes, 30);
    header.imageSize = le::read32(bytes, 34);
    header.xPixelsPerMetre = le::readSigned32(bytes, 38);
    header.yPixelsPerMetre = le::readSigned32(bytes, 42);
    header.coloursUsed = le::read32(bytes, 46);
    header.coloursImportant = le::read32(bytes, 50);
    return header;
}

InfoHeader readCoreHeader(std::span<const std::uint8_t> bytes) {
    InfoHeader header;
    header.width = le::read16(bytes, 18);
    header.height = le::read16(bytes, 20);
    header.planes = le::read16(bytes, 22);
    header.bitCount = le::read16(bytes, 24);
    return header;
}

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
    const std::uint32_t headerSize = le::read32(bytes, kFileHeaderSize);
    if (headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) {
        error = "Unsupported BMP info header size " + std::to_string(headerSize);
        return std::nullopt;
    }
    const bool core = headerSize == kCoreHeaderSize;
    const InfoHeader header = core ? readCoreHeader(bytes) : readInfoHeader(bytes);
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
    const std::uint64_t entrySize = core ? 3 : 4;
    const std::uint64_t tableStart = kFileHeaderSize + headerSize;
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

    const std::uint32_t pixelOffset = le::read32(bytes, 10);
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
    const InfoHeader& header = image.header();
    const auto tableBytes = image.table().size() * 4;
    const auto pixels = image.pixelRows();
    std::vector<std::uint8_t> out;
    out.reserve(kMinimumFileSize + tableBytes + pixels.size());

    out.push_back('B');
    out.push_back('M');
    le::append32(out, static_cast<std::uint32_t>(kMinimumFileSize + tableBytes + pixels.size()));
    le::append16(out, 0);
    le::append16(out, 0);
    le::append32(out, static_cast<std::uint32_t>(kMinimumFileSize + tableBytes));

    le::append32(out, kInfoHeaderSize);
    le::append32(out, static_cast<std::uint32_t>(header.width));
    le::append32(out, static_cast<std::uint32_t>(header.height));
    le::append16(out, header.planes);
    le::append16(out, header.bitCount);
    le::append32(out, header.compression);
    le::append32(out, header.imageSize);
    le::append32(out, static_cast<std::uint32_t>(header.xPixelsPerMetre));
    le::append32(out, static_cast<std::uint32_t>(header.yPixelsPerMetre));
    le::append32(out, header.coloursUsed);
    le::append32(out, header.coloursImportant);

    for (const TableEntry& entry : image.table()) {
        out.insert(out.end(), {entry.blue, entry.green, entry.red, entry.reserved});
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

} // namespace vexilon
