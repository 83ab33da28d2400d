#include "sample_writers.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <sys/mman.h>
#include <tiffio.h>
#include <unistd.h>

namespace vexilon::samples {
namespace {

// libtiff writes into a file that lives in memory, read back once closed.
TIFF* openForWriting(int& fd) {
    fd = ::memfd_create("sample.tif", 0);
    TIFF* tif = fd < 0 ? nullptr : TIFFFdOpen(::dup(fd), "sample.tif", "w");
    if (tif == nullptr) {
        throw std::runtime_error("libtiff could not start the sample");
    }
    return tif;
}

Bytes closeAndRead(TIFF* tif, int fd, bool ok) {
    TIFFClose(tif);
    Bytes out(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)));
    ok = ok && ::pread(fd, out.data(), out.size(), 0) == static_cast<ssize_t>(out.size());
    ::close(fd);
    if (!ok) {
        throw std::runtime_error("libtiff could not write the sample");
    }
    return out;
}

} // namespace

Bytes writeTiff(const RgbPicture& p, const TiffOptions& o) {
    int fd = -1;
    TIFF* tif = openForWriting(fd);
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
    return closeAndRead(tif, fd, ok);
}

Bytes writeCheckerTiff(std::uint32_t width, std::uint32_t height) {
    int fd = -1;
    TIFF* tif = openForWriting(fd);
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
            if ((x / 64 + y / 64) % 2 == 1) {
                row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        ok = TIFFWriteScanline(tif, row.data(), y, 0) >= 0;
    }
    return closeAndRead(tif, fd, ok);
}

} // namespace vexilon::samples
