#include "image/pipeline/reduced_jpeg.h"

#include "image/pipeline/fitting.h"

#include <csetjmp>

#include <jerror.h>
#include <jpeglib.h>

namespace vexilon {
namespace {

// The same guard as the full decoder's: hundreds of progressive scans would
// make libjpeg walk its coefficients for minutes.
constexpr int kMaxScans = 100;
// Ceiling for libjpeg's own buffers (a progressive file's coefficients).
constexpr long kMaxLibraryMemory = 1L << 30;
constexpr int kScaleDenominator = 8;
// Reductions by less than half are not worth a decode of their own.
constexpr int kLargestScale = 4;

struct Job {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
};

[[noreturn]] void abandon(j_common_ptr cinfo) {
    std::longjmp(static_cast<Job*>(cinfo->client_data)->jump, 1);
}

// A file that ends early or holds a stray marker is handed to the full
// decoder, whose rules refuse it.
void emitMessage(j_common_ptr cinfo, int level) {
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
        abandon(cinfo);
    }
}

void outputNothing(j_common_ptr) {}

void watchScans(j_common_ptr cinfo) {
    if (static_cast<Job*>(cinfo->client_data)->cinfo.input_scan_number > kMaxScans) {
        abandon(cinfo);
    }
}

// The only setjmp calls: nothing with a destructor lives between them and
// libjpeg, and an error comes back as false.

bool readHeader(Job& job, std::FILE* file) {
    if (setjmp(job.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&job.cinfo);
    job.cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_stdio_src(&job.cinfo, file);
    return jpeg_read_header(&job.cinfo, TRUE) == JPEG_HEADER_OK;
}

// The smallest scale (in eighths) whose output still covers the minimum.
bool chooseScale(Job& job, int minWidth, int minHeight) {
    if (setjmp(job.jump) != 0) {
        return false;
    }
    jpeg_decompress_struct& c = job.cinfo;
    c.out_color_space = JCS_EXT_BGR; // grey comes out as equal blue, green, red
    c.scale_denom = kScaleDenominator;
    for (unsigned scale = 1; scale <= kLargestScale; ++scale) {
        c.scale_num = scale;
        jpeg_calc_output_dimensions(&c);
        if (c.output_width >= static_cast<JDIMENSION>(minWidth) &&
            c.output_height >= static_cast<JDIMENSION>(minHeight)) {
            return true;
        }
    }
    return false;
}

bool readPixels(Job& job, Bmp24Image& image) {
    if (setjmp(job.jump) != 0) {
        return false;
    }
    jpeg_decompress_struct& c = job.cinfo;
    jpeg_start_decompress(&c);
    if (c.output_width != static_cast<JDIMENSION>(image.width()) ||
        c.output_height != static_cast<JDIMENSION>(image.height()) || c.output_components != 3) {
        return false;
    }
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = image.row(static_cast<std::int32_t>(c.output_scanline));
        if (jpeg_read_scanlines(&c, &row, 1) != 1) {
            return false;
        }
    }
    return true;
}

// Within what every decoder takes in, so that this path never accepts a
// picture the full decoders would refuse; larger ones are left to them.
bool withinPictureLimits(JDIMENSION width, JDIMENSION height) {
    constexpr JDIMENSION kLargestSide = 16384;
    return width <= kLargestSide && height <= kLargestSide;
}

} // namespace

ReducedDecode decodeReducedJpeg(std::FILE* file, std::int32_t& width, std::int32_t& height,
                                Bmp24Image& image) {
    std::uint8_t start[2] = {};
    if (std::fread(start, 1, 2, file) != 2 || start[0] != 0xFF || start[1] != 0xD8 ||
        std::fseek(file, 0, SEEK_SET) != 0) {
        return ReducedDecode::NotReduced;
    }
    Job job{};
    job.cinfo.err = jpeg_std_error(&job.errors);
    job.errors.error_exit = abandon;
    job.errors.emit_message = emitMessage;
    job.errors.output_message = outputNothing;
    job.cinfo.client_data = &job;
    struct Release {
        Job& job;
        ~Release() { jpeg_destroy_decompress(&job.cinfo); }
    } release{job};

    if (!readHeader(job, file)) {
        return ReducedDecode::NotReduced;
    }
    const jpeg_decompress_struct& c = job.cinfo;
    if ((c.num_components != 1 && c.num_components != 3) ||
        !withinPictureLimits(c.image_width, c.image_height)) {
        return ReducedDecode::NotReduced;
    }
    width = static_cast<std::int32_t>(c.image_width);
    height = static_cast<std::int32_t>(c.image_height);
    const Placement fitted = fitPicture(width, height);
    if (!isScaled(width, height) || !chooseScale(job, fitted.width, fitted.height)) {
        return ReducedDecode::NotReduced;
    }
    Bmp24Image reduced;
    if (!reduced.allocate(static_cast<std::int32_t>(c.output_width),
                          static_cast<std::int32_t>(c.output_height))) {
        return ReducedDecode::NotReduced;
    }
    job.progress.progress_monitor = watchScans;
    job.cinfo.progress = &job.progress;
    if (!readPixels(job, reduced)) {
        return ReducedDecode::NotReduced;
    }
    reduced.finish();
    image = std::move(reduced);
    return ReducedDecode::Decoded;
}

} // namespace vexilon
