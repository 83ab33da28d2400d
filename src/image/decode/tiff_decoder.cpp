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
// them. The reader turns a picture stored bottom first over within the rows
// of one call, so such a picture is read in one call.
std::uint32_t bandRows(TIFF* tif, std::uint32_t height) {
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    std::uint32_t unit = height;
    if (TIFFIsTiled(tif) != 0) {
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &unit);
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &unit);
    }
    if ((orientation != ORIENTATION_TOPLEFT && orientation != ORIENTATION_TOPRIGHT) || unit == 0 ||
        unit >= height) {
        return height;
    }
    const std::uint32_t units = std::max<std::uint32_t>(1, kBandRows / unit);
    return std::min<std::uint64_t>(std::uint64_t{units} * unit, height);
}

} // namespace

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
    if (width == 0 || height == 0 || width > static_cast<std::uint32_t>(kMaxPictureSide) ||
        height > static_cast<std::uint32_t>(kMaxPictureSide)) {
        return DecodeOutcome::Failed;
    }

    char message[1024] = {};
    TIFFRGBAImage rgba{};
    if (TIFFRGBAImageOK(tif.get(), message) == 0 ||
        TIFFRGBAImageBegin(&rgba, tif.get(), 1, message) == 0) {
        return DecodeOutcome::Failed;
    }
    const std::unique_ptr<TIFFRGBAImage, RgbaImageEnder> end(&rgba);
    rgba.req_orientation = ORIENTATION_TOPLEFT;

    const std::uint32_t band = bandRows(tif.get(), height);
    const std::unique_ptr<std::uint32_t[]> raster(new (std::nothrow)
                                                      std::uint32_t[std::size_t{width} * band]);
    if (!raster ||
        !image.allocate(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height))) {
        return DecodeOutcome::Failed;
    }
    for (std::uint32_t top = 0; top < height; top += band) {
        const std::uint32_t rows = std::min(band, height - top);
        rgba.row_offset = static_cast<int>(top);
        rgba.col_offset = 0;
        if (TIFFRGBAImageGet(&rgba, raster.get(), width, rows) == 0) {
            return DecodeOutcome::Failed;
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            const std::uint32_t* in = raster.get() + std::size_t{r} * width;
            std::uint8_t* out = image.row(static_cast<std::int32_t>(top + r));
            for (std::uint32_t x = 0; x < width; ++x) {
                // Packed A, B, G, R from the high byte down; alpha is dropped.
                out[3 * x] = static_cast<std::uint8_t>(TIFFGetB(in[x]));
                out[3 * x + 1] = static_cast<std::uint8_t>(TIFFGetG(in[x]));
                out[3 * x + 2] = static_cast<std::uint8_t>(TIFFGetR(in[x]));
            }
        }
    }
    return DecodeOutcome::Decoded;
}

} // namespace vexilon
