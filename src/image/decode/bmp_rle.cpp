#include "image/decode/bmp_pixels.h"

#include <cstring>

namespace vexilon {
namespace {

// Where the next pixel of a run-length stream goes: rows count from the
// bottom of the picture, as the stream stores them.
class RunCursor {
public:
    RunCursor(const BmpLayout& layout, Bmp24Image& image) : layout_(layout), image_(image) {}

    // Writers such as ImageMagick's run rows on into their padding: what
    // lies past the width is dropped. Pixels past the last row are a fault.
    bool put(unsigned index) {
        if (row_ >= layout_.height) {
            return false;
        }
        if (x_ >= layout_.width) {
            return index < layout_.table.size();
        }
        const auto y = static_cast<std::int32_t>(layout_.height - 1 - row_);
        return putEntry(layout_, index, image_.row(y) + 3 * x_++);
    }
    void endLine() {
        x_ = 0;
        ++row_;
    }
    bool skip(unsigned right, unsigned up) {
        x_ += right;
        row_ += up;
        return x_ <= layout_.width && row_ <= layout_.height;
    }

private:
    const BmpLayout& layout_;
    Bmp24Image& image_;
    std::int64_t x_ = 0;
    std::int64_t row_ = 0;
};

// The i-th pixel of a run or an absolute stretch: a byte at 8 bits, a
// nibble at 4 (high nibble first).
unsigned indexAt(const std::uint8_t* bytes, unsigned i, bool fourBits) {
    if (!fourBits) {
        return bytes[i];
    }
    const unsigned byte = bytes[i / 2];
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

enum class Step { Go, Done, Fault };

// An escape: end of line (0), end of picture (1), a skip (2), or an
// absolute stretch of `code` pixels padded to a 16-bit boundary.
Step escape(std::span<const std::uint8_t> file, std::size_t& pos, unsigned code, bool fourBits,
            RunCursor& cursor) {
    if (code == 0) {
        cursor.endLine();
        return Step::Go;
    }
    if (code == 1 || pos + 2 > file.size()) {
        return Step::Done;
    }
    if (code == 2) {
        const bool inside = cursor.skip(file[pos], file[pos + 1]);
        pos += 2;
        return inside ? Step::Go : Step::Fault;
    }
    const std::size_t bytes = fourBits ? (code + 1) / 2 : code;
    const std::size_t available = std::min(bytes, file.size() - pos);
    const unsigned pixels = fourBits
                                ? std::min<unsigned>(code, static_cast<unsigned>(2 * available))
                                : static_cast<unsigned>(available);
    for (unsigned i = 0; i < pixels; ++i) {
        if (!cursor.put(indexAt(file.data() + pos, i, fourBits))) {
            return Step::Fault;
        }
    }
    pos += (bytes + 1) / 2 * 2;
    return available < bytes ? Step::Done : Step::Go;
}

} // namespace

bool readRunLengthRows(std::span<const std::uint8_t> file, const BmpLayout& layout,
                       Bmp24Image& image) {
    for (std::int32_t y = 0; y < image.height(); ++y) {
        std::memset(image.row(y), 0xFF, 3 * static_cast<std::size_t>(image.width()));
    }
    const bool fourBits = layout.compression == BmpCompression::Rle4;
    RunCursor cursor(layout, image);
    std::size_t pos = static_cast<std::size_t>(layout.pixelOffset);
    while (pos + 2 <= file.size()) {
        const unsigned count = file[pos];
        const std::uint8_t value[1] = {file[pos + 1]};
        pos += 2;
        if (count == 0) {
            const Step step = escape(file, pos, value[0], fourBits, cursor);
            if (step != Step::Go) {
                return step == Step::Done;
            }
            continue;
        }
        for (unsigned i = 0; i < count; ++i) {
            // A run of nibbles alternates the two halves of its byte.
            if (!cursor.put(indexAt(value, fourBits ? i % 2 : 0, fourBits))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace vexilon
