#include "sample_writers.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <tiffio.h>

namespace vexilon::samples {
namespace {

struct Growing {
    Bytes data;
    std::size_t pos = 0;
};

tmsize_t readGrowing(thandle_t h, void* buf, tmsize_t n) {
    auto* g = static_cast<Growing*>(h);
    const std::size_t count =
        std::min(static_cast<std::size_t>(n), g->data.size() - std::min(g->pos, g->data.size()));
    std::memcpy(buf, g->data.data() + g->pos, count);
    g->pos += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t writeGrowing(thandle_t h, void* buf, tmsize_t n) {
    auto* g = static_cast<Growing*>(h);
    const auto count = static_cast<std::size_t>(n);
    g->data.resize(std::max(g->data.size(), g->pos + count));
    std::memcpy(g->data.data() + g->pos, buf, count);
    g->pos += count;
    return n;
}

toff_t seekGrowing(thandle_t h, toff_t off, int whence) {
    auto* g = static_cast<Growing*>(h);
    const std::size_t base = whence == SEEK_CUR ? g->pos : whence == SEEK_END ? g->data.size() : 0;
    g->pos = base + static_cast<std::size_t>(off);
    return g->pos;
}

int closeGrowing(thandle_t) {
    return 0;
}
toff_t sizeOfGrowing(thandle_t h) {
    return static_cast<Growing*>(h)->data.size();
}
int noMap(thandle_t, void**, toff_t*) {
    return 0;
}
void noUnmap(thandle_t, void*, toff_t) {}

// A TIFF written into file's bytes.
TIFF* openForWriting(Growing& file) {
    TIFF* tif = TIFFClientOpen("sample", "w", &file, readGrowing, writeGrowing, seekGrowing,
                               closeGrowing, sizeOfGrowing, noMap, noUnmap);
    if (tif == nullptr) {
        throw std::runtime_error("libtiff could not start the sample");
    }
    return tif;
}

} // namespace

Bytes writeTiff(const RgbPicture& p, const TiffOptions& o) {
    Growing file;
    TIFF* tif = openForWriting(file);
    const auto w = static_cast<std::uint32_t>(p.width);
    const auto h = static_cast<std::uint32_t>(p.height);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, o.compression);
    const int orientations[2][2] = {{ORIENTATION_TOPLEFT, ORIENTATION_TOPRIGHT},
                                    {ORIENTATION_BOTLEFT, ORIENTATION_BOTRIGHT}};
    TIFFSetField(tif, TIFFTAG_ORIENTATION, orientations[o.bottomFirst][o.rightToLeft]);
    Bytes reversed(3 * static_cast<std::size_t>(w));
    const auto fileRow = [&](std::uint32_t r) {
        const std::uint32_t y = o.bottomFirst ? h - 1 - r : r;
        const std::uint8_t* row = p.at(0, static_cast<std::int32_t>(y));
        if (!o.rightToLeft) {
            return const_cast<std::uint8_t*>(row);
        }
        for (std::uint32_t x = 0; x < w; ++x) {
            std::copy_n(row + 3 * (w - 1 - x), 3, &reversed[3 * x]);
        }
        return reversed.data();
    };
    bool ok = true;
    if (o.tiled) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
        Bytes tile(16 * 16 * 3);
        for (std::uint32_t ty = 0; ty < h; ty += 16) {
            for (std::uint32_t tx = 0; tx < w; tx += 16) {
                std::fill(tile.begin(), tile.end(), 0);
                for (std::uint32_t r = ty; r < std::min(h, ty + 16); ++r) {
                    const std::uint32_t n = std::min(w - tx, 16u);
                    std::memcpy(&tile[(r - ty) * 48], fileRow(r) + 3 * tx, 3 * n);
                }
                ok = ok && TIFFWriteTile(tif, tile.data(), tx, ty, 0, 0) >= 0;
            }
        }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP,
                     o.rowsPerStrip != 0 ? o.rowsPerStrip : TIFFDefaultStripSize(tif, 0));
        for (std::uint32_t r = 0; r < h; ++r) {
            ok = ok && TIFFWriteScanline(tif, fileRow(r), r, 0) >= 0;
        }
    }
    TIFFClose(tif);
    if (!ok) {
        throw std::runtime_error("libtiff could not write the sample");
    }
    return file.data;
}

Bytes writeCheckerTiff(std::uint32_t width, std::uint32_t height) {
    Growing file;
    TIFF* tif = openForWriting(file);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    Bytes row((width + 7) / 8);
    bool ok = true;
    for (std::uint32_t y = 0; y < height && ok; ++y) {
        std::fill(row.begin(), row.end(), 0);
        for (std::uint32_t x = 0; x < width; ++x) {
            if (checkerIsBlack(x, y)) {
                row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        ok = TIFFWriteScanline(tif, row.data(), y, 0) >= 0;
    }
    TIFFClose(tif);
    if (!ok) {
        throw std::runtime_error("libtiff could not write the sample");
    }
    return file.data;
}

} // namespace vexilon::samples
