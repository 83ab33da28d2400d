#include "image/bmp/little_endian.h"
#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"
#include "image/decode/palette.h"

#include <algorithm>
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

DecodeOutcome decodePcx(std::span<const std::uint8_t> file, Bmp24Image& image) {
    if (!mayBePcx(file, file.size())) {
        return DecodeOutcome::Refused;
    }
    const std::int64_t xmin = le::read16(file, 4);
    const std::int64_t ymin = le::read16(file, 6);
    const std::int64_t xmax = le::read16(file, 8);
    const std::int64_t ymax = le::read16(file, 10);
    const unsigned bitsPerPlane = file[3];
    const unsigned planes = file[65];

    const std::int64_t width = xmax - xmin + 1;
    const std::int64_t height = ymax - ymin + 1;
    const std::size_t bytesPerLine = le::read16(file, 66);
    const bool indexed = planes == 1;
    // Only one plane of 8 bits or three of them are laid out as described;
    // other splits of 8 or 24 bits would come out as noise.
    if (bitsPerPlane != 8 || !pictureSizeAllowed(width, height) ||
        bytesPerLine < static_cast<std::size_t>(width)) {
        return DecodeOutcome::Failed;
    }
    if (indexed && file.size() < kHeaderBytes + kPaletteBytes) {
        return DecodeOutcome::Failed;
    }
    const std::span<const std::uint8_t> data =
        file.subspan(kHeaderBytes, file.size() - kHeaderBytes - (indexed ? kPaletteBytes : 0));
    std::vector<std::uint8_t> line(bytesPerLine * planes);
    if (data.size() / static_cast<std::size_t>(height) < fewestBytesPerLine(line.size()) ||
        !image.allocate(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height))) {
        return DecodeOutcome::Failed;
    }

    Palette palette;
    if (indexed) {
        palette.count = 256;
        std::copy_n(file.end() - kPaletteBytes, kPaletteBytes, palette.rgb.begin());
    }
    std::size_t pos = 0;
    for (std::int32_t y = 0; y < image.height(); ++y) {
        if (!decodeLine(data, pos, line)) {
            return DecodeOutcome::Failed;
        }
        std::uint8_t* out = image.row(y);
        if (indexed) {
            expandIndexedRow(line.data(), out, image.width(), palette);
            continue;
        }
        const std::uint8_t* red = line.data();
        const std::uint8_t* green = red + bytesPerLine;
        const std::uint8_t* blue = green + bytesPerLine;
        for (std::int32_t x = 0; x < image.width(); ++x) {
            out[3 * x] = blue[x];
            out[3 * x + 1] = green[x];
            out[3 * x + 2] = red[x];
        }
    }
    return DecodeOutcome::Decoded;
}

} // namespace vexilon
