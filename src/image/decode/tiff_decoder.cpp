#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <tiffio.h>

namespace vexilon {
namespace {

// Rows converted per call of the RGBA reader: enough to amortise the call,
// small enough that the 32-bit raster stays a fraction of the picture.
constexpr std::uint32_t kBandRows = 64;

struct MemoryFile {
    const std::uint8_t* data;
    std::uint64_t size;
    std::uint64_t pos;
};

tmsize_t readMemory(thandle_t handle, void* out, tmsize_t count) {
    auto* f = static_cast<MemoryFile*>(handle);
    if (count <= 0 || f->pos >= f->size) {
        return 0;
    }
    const std::uint64_t n =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(count), f->size - f->pos);
    std::memcpy(out, f->data + f->pos, n);
    f->pos += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(handle);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR) {
        base = f->pos;
    } else if (whence == SEEK_END) {
        base = f->size;
    }
    if (offset > UINT64_MAX - base) {
        return static_cast<toff_t>(-1);
    }
    f->pos = base + offset;
    return f->pos;
}

int closeMemory(thandle_t) {
    return 0;
}

toff_t sizeOfMemory(thandle_t handle) {
    return static_cast<MemoryFile*>(handle)->size;
}

// libtiff reads uncompressed strips straight from a mapped file; handing it
// the buffer saves a copy of the picture. It never writes to a read-only map.
int mapMemory(thandle_t handle, void** base, toff_t* size) {
    auto* f = static_cast<MemoryFile*>(handle);
    *base = const_cast<std::uint8_t*>(f->data);
    *size = f->size;
    return 1;
}

void unmapMemory(thandle_t, void*, toff_t) {}

// Handled here, so libtiff's process-wide handlers never print.
int silence(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
struct OptionsFreer {
    void operator()(TIFFOpenOptions* opts) const { TIFFOpenOptionsFree(opts); }
};
struct RgbaImageEnder {
    void operator()(TIFFRGBAImage* img) const { TIFFRGBAImageEnd(img); }
};

std::unique_ptr<TIFF, TiffCloser> openTiff(MemoryFile& file) {
    std::unique_ptr<TIFFOpenOptions, OptionsFreer> opts(TIFFOpenOptionsAlloc());
    if (!opts) {
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(opts.get(), silence, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(opts.get(), silence, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts.get(), kMaxLibraryBuffer);
    return std::unique_ptr<TIFF, TiffCloser>(
        TIFFClientOpenExt("picture", "r", &file, readMemory, refuseWrite, seekMemory, closeMemory,
                          sizeOfMemory, mapMemory, unmapMemory, opts.get()));
}

// Rows per call of the RGBA reader: whole strips or tiles, about kBandRows of
// them, so that each is decoded once.
std::uint32_t bandRows(TIFF* tif, std::uint32_t height) {
    std::uint32_t unit = height;
    if (TIFFIsTiled(tif) != 0) {
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &unit);
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &unit);
    }
    if (unit == 0 || unit >= height) {
        return height;
    }
    const std::uint32_t units = std::max<std::uint32_t>(1, kBandRows / unit);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{units} * unit, height));
}

// Where the file's rows go in a picture shown top row first, left to right.
// As in libtiff's own reader, the orientations that swap rows and columns
// count as their unswapped counterparts.
struct Placement {
    std::uint32_t height = 0;
    bool bottomFirst = false;
    bool rightToLeft = false;
    bool withAlpha = false; // put over white; opaque pictures skip that pass

    std::int32_t row(std::uint32_t fileRow) const {
        return static_cast<std::int32_t>(bottomFirst ? height - 1 - fileRow : fileRow);
    }
};

Placement placementOf(std::uint16_t orientation, std::uint32_t height) {
    switch (orientation) {
    case ORIENTATION_TOPRIGHT:
    case ORIENTATION_RIGHTTOP:
        return {height, false, true};
    case ORIENTATION_BOTRIGHT:
    case ORIENTATION_RIGHTBOT:
        return {height, true, true};
    case ORIENTATION_BOTLEFT:
    case ORIENTATION_LEFTBOT:
        return {height, true, false};
    default:
        return {height, false, false};
    }
}

// One row of the RGBA reader's output (A, B, G, R from the high byte down)
// as blue, green, red.
void storeRow(const std::uint32_t* in, const Placement& place, std::uint32_t width,
              std::uint8_t* out) {
    for (std::uint32_t x = 0; x < width; ++x) {
        const std::uint32_t pixel = in[place.rightToLeft ? width - 1 - x : x];
        out[3 * x] = static_cast<std::uint8_t>(TIFFGetB(pixel));
        out[3 * x + 1] = static_cast<std::uint8_t>(TIFFGetG(pixel));
        out[3 * x + 2] = static_cast<std::uint8_t>(TIFFGetR(pixel));
    }
    if (!place.withAlpha) {
        return;
    }
    // Over white. The reader gives associated alpha for both kinds a file may
    // hold (it multiplies unassociated alpha in): the rest of 255 is white.
    for (std::uint32_t x = 0; x < width; ++x) {
        const std::uint32_t clear = 255 - TIFFGetA(in[place.rightToLeft ? width - 1 - x : x]);
        for (std::uint32_t c = 3 * x; c < 3 * x + 3; ++c) {
            out[c] = static_cast<std::uint8_t>(std::min<std::uint32_t>(out[c] + clear, 255));
        }
    }
}

// Rows read one at a time in file order and turned into RGBA by the reader's
// own conversion for one row. Whatever the strips, only a row of samples and
// a row of RGBA are held beside the image, and every strip is decoded once.
// For pixels packed in one plane without subsampled chroma.
bool readByRows(TIFF* tif, TIFFRGBAImage& rgba, const Placement& place, Bmp24Image& image) {
    const tmsize_t scanline = TIFFScanlineSize(tif);
    const auto width = static_cast<std::uint32_t>(image.width());
    const std::unique_ptr<std::uint8_t[]> samples(
        scanline > 0 ? new (std::nothrow) std::uint8_t[static_cast<std::size_t>(scanline)]
                     : nullptr);
    const std::unique_ptr<std::uint32_t[]> raster(new (std::nothrow) std::uint32_t[width]);
    if (!samples || !raster) {
        return false;
    }
    for (std::uint32_t r = 0; r < place.height; ++r) {
        if (TIFFReadScanline(tif, samples.get(), r, 0) < 0) {
            return false;
        }
        rgba.put.contig(&rgba, raster.get(), 0, r, width, 1, 0, 0, samples.get());
        storeRow(raster.get(), place, width, image.row(place.row(r)));
    }
    return true;
}

// The RGBA reader in bands of whole strips or tiles, for what rows cannot
// carry: tiles, planes stored apart, subsampled chroma.
bool readByBands(TIFF* tif, TIFFRGBAImage& rgba, const Placement& place, Bmp24Image& image) {
    const auto width = static_cast<std::uint32_t>(image.width());
    const std::uint32_t band = bandRows(tif, place.height);
    const std::unique_ptr<std::uint32_t[]> raster(new (std::nothrow)
                                                      std::uint32_t[std::size_t{width} * band]);
    if (!raster) {
        return false;
    }
    for (std::uint32_t top = 0; top < place.height; top += band) {
        const std::uint32_t rows = std::min(band, place.height - top);
        rgba.row_offset = static_cast<int>(top);
        rgba.col_offset = 0;
        if (TIFFRGBAImageGet(&rgba, raster.get(), width, rows) == 0) {
            return false;
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            storeRow(raster.get() + std::size_t{r} * width, place, width,
                     image.row(place.row(top + r)));
        }
    }
    return true;
}

} // namespace

bool mayBeTiff(std::span<const std::uint8_t> head, std::uint64_t) {
    // Byte order, then version 42 (classic) or 43 (BigTIFF) in that order.
    if (head.size() < 4) {
        return false;
    }
    const std::uint8_t version = head[0] == 'I' ? head[2] : head[3];
    const std::uint8_t high = head[0] == 'I' ? head[3] : head[2];
    return ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M')) &&
           high == 0 && (version == 42 || version == 43);
}

DecodeOutcome decodeTiff(std::span<const std::uint8_t> file, Bmp24Image& image) {
    MemoryFile memory{file.data(), file.size(), 0};
    const auto tif = openTiff(memory);
    if (!tif) {
        return DecodeOutcome::Refused;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    if (!pictureSizeAllowed(width, height)) {
        return DecodeOutcome::Failed;
    }

    char message[1024] = {};
    TIFFRGBAImage rgba{};
    if (TIFFRGBAImageOK(tif.get(), message) == 0 ||
        TIFFRGBAImageBegin(&rgba, tif.get(), 1, message) == 0) {
        return DecodeOutcome::Failed;
    }
    const std::unique_ptr<TIFFRGBAImage, RgbaImageEnder> end(&rgba);
    // Rows come in the file's own order and are placed here: the reader
    // would otherwise turn a picture stored bottom first over within the
    // rows of one call, which only works when that call reads them all.
    rgba.req_orientation = rgba.orientation;
    Placement place = placementOf(rgba.orientation, height);
    place.withAlpha = rgba.alpha != 0;
    if (!image.allocate(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height))) {
        return DecodeOutcome::Failed;
    }
    const bool byRows = TIFFIsTiled(tif.get()) == 0 && rgba.isContig != 0 &&
                        rgba.put.contig != nullptr && rgba.photometric != PHOTOMETRIC_YCBCR;
    const bool read = byRows ? readByRows(tif.get(), rgba, place, image)
                             : readByBands(tif.get(), rgba, place, image);
    return read ? DecodeOutcome::Decoded : DecodeOutcome::Failed;
}

} // namespace vexilon
