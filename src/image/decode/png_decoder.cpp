#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"
#include "image/decode/large_buffer.h"
#include "image/decode/over_white.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <png.h>

namespace vexilon {
namespace {

constexpr double kDisplayGamma = 2.2;
// Assumed for files marked sRGB and for files that state no gamma at all.
constexpr double kSrgbFileGamma = 0.45455;

struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
};

void readFromMemory(png_structp png, png_bytep out, std::size_t count) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (count > job->size - job->pos) {
        png_error(png, "file ends inside the picture");
    }
    std::memcpy(out, job->data + job->pos, count);
    job->pos += count;
}

[[noreturn]] void abandon(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// The three functions below hold the only setjmp calls: nothing with a
// destructor lives between them and libpng, and an error comes back as false.

bool readInfo(PngJob& job) {
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    png_set_read_fn(job.png, &job, readFromMemory);
    // The sides only: the pixel count is checked once the header is read.
    png_set_user_limits(job.png, kMaxPictureSide, kMaxPictureSide);
    png_read_info(job.png, job.info);
    return true;
}

// A palette shorter than its bit depth allows gets the missing entries as
// copies of entry 0, which is what an index beyond the table shows then.
void padPalette(png_structp png, png_infop info) {
    png_colorp entries = nullptr;
    int count = 0;
    const int size = 1 << png_get_bit_depth(png, info);
    if (png_get_PLTE(png, info, &entries, &count) == 0 || count <= 0 || count >= size) {
        return;
    }
    png_color padded[256];
    std::copy(entries, entries + count, padded);
    std::fill(padded + count, padded + size, entries[0]);
    png_set_PLTE(png, info, padded, size);
}

bool hasTransparency(const PngJob& job) {
    return (png_get_color_type(job.png, job.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
           png_get_valid(job.png, job.info, PNG_INFO_tRNS) != 0;
}

// Rows come out as blue, green, red, and alpha after them when the picture
// has transparency of any kind (an alpha channel or a tRNS chunk), to be put
// over white; 16-bit samples are scaled to 8.
bool prepareRows(PngJob& job, double fileGamma, bool withAlpha) {
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    png_set_gamma(job.png, kDisplayGamma, fileGamma);
    png_set_scale_16(job.png);
    if (png_get_color_type(job.png, job.info) == PNG_COLOR_TYPE_PALETTE) {
        padPalette(job.png, job.info);
        png_set_palette_to_rgb(job.png);
    }
    png_set_expand_gray_1_2_4_to_8(job.png);
    png_set_gray_to_rgb(job.png);
    if (withAlpha) {
        png_set_tRNS_to_alpha(job.png);
    } else {
        png_set_strip_alpha(job.png);
    }
    png_set_bgr(job.png);
    png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    return true;
}

bool readRows(PngJob& job, png_bytepp rows) {
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    png_read_image(job.png, rows);
    return true;
}

// A picture without interlacing, one row at a time through `row`, each put
// over white into the image as it comes.
bool readRowsOverWhite(PngJob& job, png_bytep row, Bmp24Image& image) {
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    for (std::int32_t y = 0; y < image.height(); ++y) {
        png_read_row(job.png, row, nullptr);
        putOverWhite(row, image.width(), image.row(y));
    }
    return true;
}

// libpng writes blue, green, red straight into the intermediate image.
bool readOpaque(PngJob& job, Bmp24Image& image) {
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height()));
    for (std::int32_t y = 0; y < image.height(); ++y) {
        rows[static_cast<std::size_t>(y)] = image.row(y);
    }
    return readRows(job, rows.data());
}

// An interlaced picture fills every row several times over, so the whole
// picture with its alpha is held until the last pass.
bool readTransparent(PngJob& job, Bmp24Image& image) {
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(image.width());
    const bool interlaced = png_get_interlace_type(job.png, job.info) != PNG_INTERLACE_NONE;
    const std::size_t heldRows = interlaced ? static_cast<std::size_t>(image.height()) : 1;
    const LargeBuffer held = allocateLargeBuffer(rowBytes * heldRows);
    if (!held) {
        return false;
    }
    if (!interlaced) {
        return readRowsOverWhite(job, held.get(), image);
    }
    std::vector<png_bytep> rows(heldRows);
    for (std::size_t y = 0; y < heldRows; ++y) {
        rows[y] = held.get() + y * rowBytes;
    }
    if (!readRows(job, rows.data())) {
        return false;
    }
    for (std::int32_t y = 0; y < image.height(); ++y) {
        putOverWhite(rows[static_cast<std::size_t>(y)], image.width(), image.row(y));
    }
    return true;
}

double fileGammaOf(const PngJob& job) {
    double gamma = 0;
    if (png_get_valid(job.png, job.info, PNG_INFO_sRGB) == 0 &&
        png_get_gAMA(job.png, job.info, &gamma) != 0 && gamma > 0) {
        return gamma;
    }
    return kSrgbFileGamma;
}

} // namespace

bool mayBePng(std::span<const std::uint8_t> head, std::uint64_t) {
    return head.size() >= 8 && png_sig_cmp(head.data(), 0, 8) == 0;
}

DecodeOutcome decodePng(std::span<const std::uint8_t> file, Bmp24Image& image) {
    if (!mayBePng(file, file.size())) {
        return DecodeOutcome::Refused;
    }
    PngJob job;
    job.data = file.data();
    job.size = file.size();
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, abandon, ignoreWarning);
    if (job.png == nullptr) {
        return DecodeOutcome::Refused;
    }
    job.info = png_create_info_struct(job.png);
    struct Release {
        PngJob& job;
        ~Release() { png_destroy_read_struct(&job.png, &job.info, nullptr); }
    } release{job};
    if (job.info == nullptr || !readInfo(job)) {
        return DecodeOutcome::Refused;
    }

    // The user limits have bounded both sides already.
    const auto width = static_cast<std::int32_t>(png_get_image_width(job.png, job.info));
    const auto height = static_cast<std::int32_t>(png_get_image_height(job.png, job.info));
    const bool withAlpha = hasTransparency(job);
    const std::size_t pixelBytes = withAlpha ? 4 : 3;
    if (!pictureSizeAllowed(width, height) || !prepareRows(job, fileGammaOf(job), withAlpha) ||
        png_get_rowbytes(job.png, job.info) != pixelBytes * static_cast<std::size_t>(width) ||
        !image.allocate(width, height)) {
        return DecodeOutcome::Failed;
    }
    const bool read = withAlpha ? readTransparent(job, image) : readOpaque(job, image);
    return read ? DecodeOutcome::Decoded : DecodeOutcome::Failed;
}

} // namespace vexilon
