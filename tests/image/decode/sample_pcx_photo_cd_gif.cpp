#include "sample_writers.h"

#include <algorithm>
#include <cstring>

namespace vexilon::samples {
namespace {

void put16(Bytes& out, std::size_t at, unsigned v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Runs of up to 63 equal bytes; single bytes below 192 go as they are.
void encodeLine(const Bytes& line, Bytes& out) {
    for (std::size_t i = 0; i < line.size();) {
        std::size_t run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i]) {
            ++run;
        }
        if (run > 1 || line[i] >= 0xC0) {
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        }
        out.push_back(line[i]);
        i += run;
    }
}

} // namespace

Bytes writePcx(const RgbPicture& p, const PcxOptions& o) {
    const auto bytesPerLine = static_cast<std::size_t>(p.width + o.extraLineBytes);
    Bytes out(128, 0);
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    put16(out, 4, o.xmin);
    put16(out, 8, o.xmin + static_cast<unsigned>(p.width) - 1);
    put16(out, 10, static_cast<unsigned>(p.height) - 1);
    out[65] = static_cast<std::uint8_t>(o.planes);
    put16(out, 66, static_cast<unsigned>(bytesPerLine));
    out[68] = 1;
    IndexedPicture indexed;
    if (o.planes == 1) {
        indexed = indexColours(p);
    }
    Bytes line(bytesPerLine * static_cast<std::size_t>(o.planes));
    for (std::int32_t y = 0; y < p.height; ++y) {
        std::fill(line.begin(), line.end(), 0);
        for (std::int32_t x = 0; x < p.width; ++x) {
            const auto i = static_cast<std::size_t>(x);
            if (o.planes == 1) {
                line[i] = indexed.indices[static_cast<std::size_t>(y * p.width + x)];
                continue;
            }
            for (std::size_t c = 0; c < 3; ++c) {
                line[c * bytesPerLine + i] = p.at(x, y)[c];
            }
        }
        encodeLine(line, out);
    }
    if (o.planes == 1) {
        out.push_back(0x0C);
        indexed.palette.resize(768, 0);
        out.insert(out.end(), indexed.palette.begin(), indexed.palette.end());
    }
    return out;
}

Bytes photoCdFile(std::size_t size, bool signature) {
    Bytes out(size, 0);
    if (signature) {
        std::memcpy(&out[0x800], "PCD_IPI", 7);
    }
    return out;
}

Bytes gifFile() {
    return {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0,   0, 0, 255, 255,
            255, ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 'D', 1, 0, ';'};
}

} // namespace vexilon::samples
