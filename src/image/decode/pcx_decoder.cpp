#include "image/bmp/little_endian.h"
#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"
#include "image/decode/palette.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vexilon {
namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kPaletteBytes = 768;
constexpr std::uint8_t kRunFlag = 0xC0;
constexpr std::size_t kLongestRun = 63;

// Fills one scan line from the run-length data at pos. Runs are cut at the
// end of the line; a line the data runs out in fails.
bool decodeLine(std::span<const std::uint8_t> data, std::size_t& pos,
                std::vector<std::uint8_t>& line) {
    std::size_t filled = 0;
    while (filled < line.size()) {
        if (pos >= data.size()) {
            return false;
        }
        const std::uint8_t b = data[pos++];
        if (b < kRunFlag) {
            line[filled++] = b;
            continue;
        }
        if (pos >= data.size()) {
            return false;
        }
        const std::uint8_t value = data[pos++];
        const std::size_t run = std::min<std::size_t>(b & 0x3F, line.size() - filled);
        std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(filled), run, value);
        filled += run;
    }
    return true;
}

// The fewest data bytes that can fill a line of this length: two per full
// run and one for the rest.
std::size_t fewestBytesPerLine(std::size_t lineBytes) {
    return 2 * (lineBytes / kLongestRun) + (lineBytes % kLongestRun != 0 ? 1 : 0);
}

} // namespace

bool mayBePcx(std::span<const std::uint8_t> head, std::uint64_t) {
    if (head.size() < kHeaderBytes || head[0] != 0x0A) {
        return false;
    }
    const unsigned bits = head[3] * head[65];
    return le::read16(head, 8) != le::read16(head, 4) &&
           le::read16(head, 10) != le::read16(head, 6) && (bits == 8 || bits == 24);
}

namespace {

// What the header says of the picture's size and the layout of its lines.
struct PcxLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::size_t bytesPerLine = 0;
    unsigned planes = 0;
    bool indexed() const { return planes == 1; }
};

std::optional<PcxLayout> readLayout(std::span<const std::uint8_t> file) {
    PcxLayout layout{le::read16(file, 8) - std::int64_t{le::read16(file, 4)} + 1,
                     le::read16(file, 10) - std::int64_t{le::read16(file, 6)} + 1,
                     le::read16(file, 66), file[65]};
    // Only one plane of 8 bits or three of them are laid out as described;
    // other splits of 8 or 24 bits would come out as noise.
    if (file[3] != 8 || !pictureSizeAllowed(layout.width, layout.height) ||
        layout.bytesPerLine < static_cast<std::size_t>(layout.width)) {
        return std::nullopt;
    }
    if (layout.indexed() && file.size() < kHeaderBytes + kPaletteBytes) {
        return std::nullopt;
    }
    return layout;
}

// One decoded line of three planes, red, green and blue, as a BMP row.
void interleaveRow(const std::uint8_t* red, std::size_t planeBytes, std::uint8_t* out,
                   std::int32_t width) {
    const std::uint8_t* green = red + planeBytes;
    const std::uint8_t* blue = green + planeBytes;
    for (std::int32_t x = 0; x < width; ++x) {
        out[3 * x] = blue[x];
        out[3 * x + 1] = green[x];
        out[3 * x + 2] = red[x];
    }
}

bool decodeRows(std::span<const std::uint8_t> data, const PcxLayout& layout, const Palette& palette,
                std::vector<std::uint8_t>& line, Bmp24Image& image) {
    std::size_t pos = 0;
    for (std::int32_t y = 0; y < image.height(); ++y) {
        if (!decodeLine(data, pos, line)) {
            return false;
        }
        if (layout.indexed()) {
            expandIndexedRow(line.data(), image.row(y), image.width(), palette);
        } else {
            interleaveRow(line.data(), layout.bytesPerLine, image.row(y), image.width());
        }
    }
    return true;
}

} // namespace

DecodeOutcome decodePcx(std::span<const std::uint8_t> file, Bmp24Image& image) {
    if (!mayBePcx(file, file.size())) {
        return DecodeOutcome::Refused;
    }
    const std::optional<PcxLayout> layout = readLayout(file);
    if (!layout) {
        return DecodeOutcome::Failed;
    }
    const bool indexed = layout->indexed();
    const std::span<const std::uint8_t> data =
        file.subspan(kHeaderBytes, file.size() - kHeaderBytes - (indexed ? kPaletteBytes : 0));
    std::vector<std::uint8_t> line(layout->bytesPerLine * layout->planes);
    if (data.size() / static_cast<std::size_t>(layout->height) < fewestBytesPerLine(line.size()) ||
        !image.allocate(static_cast<std::int32_t>(layout->width),
                        static_cast<std::int32_t>(layout->height))) {
        return DecodeOutcome::Failed;
    }
    Palette palette;
    if (indexed) {
        palette.count = 256;
        std::copy_n(file.end() - kPaletteBytes, kPaletteBytes, palette.rgb.begin());
    }
    return decodeRows(data, *layout, palette, line, image) ? DecodeOutcome::Decoded
                                                           : DecodeOutcome::Failed;
}

} // namespace vexilon
