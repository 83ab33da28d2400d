#pragma once

#include "image/bitmap/rgb.h"
#include "image/bmp/bmp_headers.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vexilon {

// A colour table entry as stored: blue, green, red, reserved.
struct TableEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    bool operator==(const TableEntry&) const = default;
};

// A device-independent image: info header, colour table and pixel rows.
// Its pixel rows always hold exactly the bytes its header asks for, so pixel
// access never needs to check more than the coordinates.
class Dib {
public:
    // A new image with every pixel 0 and the header fields after the depth 0.
    // Fails on a depth we do not support or a size beyond kMaxPixelBytes;
    // throws std::bad_alloc when memory runs out.
    static std::optional<Dib> create(std::int32_t width, std::int32_t height, std::uint16_t bits,
                                     std::vector<TableEntry> table);

    // An image from loaded parts; fails unless pixels hold at least the rows
    // the header asks for (further bytes are ignored).
    static std::optional<Dib> fromParts(const InfoHeader& header, std::vector<TableEntry> table,
                                        std::span<const std::uint8_t> pixels);

    const InfoHeader& header() const { return header_; }
    int width() const { return header_.width; }
    int rows() const { return rows_; }
    unsigned bits() const { return header_.bitCount; }
    const std::vector<TableEntry>& table() const { return table_; }
    std::span<const std::uint8_t> pixelRows() const { return pixels_; }

    // Stored value of the pixel (x, y), 0 <= x < width(), 0 <= y < rows(), y
    // counted from the top: a table index up to 8 bits, else the packed value.
    std::uint32_t raw(int x, int y) const;
    void setRaw(int x, int y, std::uint32_t value);

    // The pixel's colour; an index beyond the colour table reads as entry 0.
    Rgb colour(int x, int y) const;
    // Stores a colour into an image of more than 8 bits per pixel.
    void setColour(int x, int y, Rgb colour);

private:
    Dib(const InfoHeader& header, std::vector<TableEntry> table, std::size_t stride);
    // The image without pixel rows, once the header's size has been checked.
    static std::optional<Dib> shaped(const InfoHeader& header, std::vector<TableEntry> table);
    std::size_t rowStart(int y) const;

    InfoHeader header_;
    std::vector<TableEntry> table_;
    std::vector<std::uint8_t> pixels_;
    std::size_t stride_ = 0;
    int rows_ = 0;
};

} // namespace vexilon
