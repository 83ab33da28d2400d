#include "image/bitmap/dib.h"

#include "image/bitmap/dib_layout.h"

#include <cstdlib>
#include <utility>

namespace vexilon {

namespace {

std::uint8_t widen5(std::uint32_t value) {
    // Repeating the top bits keeps full white white (31 -> 255).
    const auto five = value & 0x1F;
    return static_cast<std::uint8_t>((five << 3) | (five >> 2));
}

} // namespace

Dib::Dib(const InfoHeader& header, std::vector<TableEntry> table, std::size_t stride)
    : header_(header), table_(std::move(table)), stride_(stride),
      rows_(static_cast<int>(std::llabs(static_cast<long long>(header.height)))) {}

std::optional<Dib> Dib::shaped(const InfoHeader& header, std::vector<TableEntry> table) {
    const std::int64_t rows = std::llabs(static_cast<long long>(header.height));
    const auto stride = rowStride(header.width, header.bitCount);
    if (!isSupportedDepth(header.bitCount) || !stride ||
        !pixelBytes(header.width, rows, header.bitCount)) {
        return std::nullopt;
    }
    return Dib(header, std::move(table), *stride);
}

std::optional<Dib> Dib::create(std::int32_t width, std::int32_t height, std::uint16_t bits,
                               std::vector<TableEntry> table) {
    InfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = bits;
    auto dib = shaped(header, std::move(table));
    if (dib) {
        dib->pixels_.assign(dib->stride_ * static_cast<std::size_t>(dib->rows_), 0);
    }
    return dib;
}

std::optional<Dib> Dib::fromParts(const InfoHeader& header, std::vector<TableEntry> table,
                                  std::span<const std::uint8_t> pixels) {
    auto dib = shaped(header, std::move(table));
    if (!dib) {
        return std::nullopt;
    }
    const std::size_t total = dib->stride_ * static_cast<std::size_t>(dib->rows_);
    if (pixels.size() < total) {
        return std::nullopt;
    }
    dib->pixels_.assign(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(total));
    return dib;
}

std::size_t Dib::rowStart(int y) const {
    const int stored = header_.height < 0 ? y : rows_ - 1 - y;
    return static_cast<std::size_t>(stored) * stride_;
}

std::uint32_t Dib::raw(int x, int y) const {
    const std::uint8_t* row = pixels_.data() + rowStart(y);
    const auto ux = static_cast<std::size_t>(x);
    switch (header_.bitCount) {
    case 1:
        return (row[ux / 8] >> (7 - ux % 8)) & 1U;
    case 4:
        return (row[ux / 2] >> (ux % 2 == 0 ? 4 : 0)) & 0xFU;
    case 8:
        return row[ux];
    case 16:
        return row[ux * 2] | (static_cast<std::uint32_t>(row[ux * 2 + 1]) << 8);
    case 24:
        return row[ux * 3] | (static_cast<std::uint32_t>(row[ux * 3 + 1]) << 8) |
               (static_cast<std::uint32_t>(row[ux * 3 + 2]) << 16);
    default:
        return row[ux * 4] | (static_cast<std::uint32_t>(row[ux * 4 + 1]) << 8) |
               (static_cast<std::uint32_t>(row[ux * 4 + 2]) << 16) |
               (static_cast<std::uint32_t>(row[ux * 4 + 3]) << 24);
    }
}

void Dib::setRaw(int x, int y, std::uint32_t value) {
    std::uint8_t* row = pixels_.data() + rowStart(y);
    const auto ux = static_cast<std::size_t>(x);
    auto put = [&](std::size_t at, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            row[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    switch (header_.bitCount) {
    case 1: {
        const auto mask = static_cast<std::uint8_t>(0x80U >> (ux % 8));
        row[ux / 8] =
            static_cast<std::uint8_t>((value & 1U) ? (row[ux / 8] | mask) : (row[ux / 8] & ~mask));
        break;
    }
    case 4: {
        const unsigned shift = ux % 2 == 0 ? 4 : 0;
        row[ux / 2] =
            static_cast<std::uint8_t>((row[ux / 2] & ~(0xFU << shift)) | ((value & 0xFU) << shift));
        break;
    }
    case 8:
        put(ux, 1);
        break;
    case 16:
        put(ux * 2, 2);
        break;
    case 24:
        put(ux * 3, 3);
        break;
    default:
        put(ux * 4, 4);
        break;
    }
}

Rgb Dib::colour(int x, int y) const {
    const std::uint32_t value = raw(x, y);
    switch (header_.bitCount) {
    case 1:
    case 4:
    case 8: {
        if (table_.empty()) {
            return {};
        }
        const TableEntry& entry = value < table_.size() ? table_[value] : table_[0];
        return {entry.red, entry.green, entry.blue};
    }
    case 16:
        return {widen5(value >> 10), widen5(value >> 5), widen5(value)};
    default:
        return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
    }
}

void Dib::setColour(int x, int y, Rgb colour) {
    if (header_.bitCount == 16) {
        setRaw(x, y,
               (static_cast<std::uint32_t>(colour.red >> 3) << 10) |
                   (static_cast<std::uint32_t>(colour.green >> 3) << 5) |
                   static_cast<std::uint32_t>(colour.blue >> 3));
    } else if (header_.bitCount > 16) {
        setRaw(x, y,
               (static_cast<std::uint32_t>(colour.red) << 16) |
                   (static_cast<std::uint32_t>(colour.green) << 8) | colour.blue);
    }
}

} // namespace vexilon
