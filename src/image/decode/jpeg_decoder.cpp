#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"

#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's extended colour spaces are needed to decode straight into BMP order"
#endif

namespace vexilon {
namespace {

// Real encoders write about a dozen scans. A file with hundreds makes libjpeg
// pass over the whole coefficient buffer again and again for minutes.
constexpr int kMaxScans = 100;

// Where the compressed data comes from: bytes in memory, or an open file.
struct JpegSource {
    const std::uint8_t* data;
    std::size_t size;
    std::FILE* file;
};

struct JpegJob {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
};

[[noreturn]] void abandon(j_common_ptr cinfo) {
    std::longjmp(static_cast<JpegJob*>(cinfo->client_data)->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level) {
    // libjpeg pads a file that ends early with grey and carries on; a file
    // that cannot hold the picture its header states is refused instead.
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
        abandon(cinfo);
    }
}

void outputNothing(j_common_ptr) {}

void watchScans(j_common_ptr cinfo) {
    if (static_cast<JpegJob*>(cinfo->client_data)->cinfo.input_scan_number > kMaxScans) {
        abandon(cinfo);
    }
}

// The two functions below hold the only setjmp calls: nothing with a
// destructor lives between them and libjpeg, and an error comes back as false.

bool readHeader(JpegJob& job, const JpegSource& source) {
    if (setjmp(job.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&job.cinfo);
    job.cinfo.mem->max_memory_to_use = kMaxLibraryBuffer;
    if (source.file != nullptr) {
        jpeg_stdio_src(&job.cinfo, source.file);
    } else {
        jpeg_mem_src(&job.cinfo, source.data, source.size);
    }
    return jpeg_read_header(&job.cinfo, TRUE) == JPEG_HEADER_OK;
}

bool readPixels(JpegJob& job, Bmp24Image& image) {
    if (setjmp(job.jump) != 0) {
        return false;
    }
    jpeg_decompress_struct& c = job.cinfo;
    c.out_color_space = JCS_EXT_BGR; // grey comes out as equal blue, green, red
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

DecodeOutcome decodeFrom(const JpegSource& source, Bmp24Image& image) {
    JpegJob job{};
    job.cinfo.err = jpeg_std_error(&job.errors);
    job.errors.error_exit = abandon;
    job.errors.emit_message = emitMessage;
    job.errors.output_message = outputNothing;
    job.cinfo.client_data = &job;
    struct Release {
        JpegJob& job;
        ~Release() { jpeg_destroy_decompress(&job.cinfo); }
    } release{job};

    if (!readHeader(job, source)) {
        return DecodeOutcome::Refused;
    }
    const jpeg_decompress_struct& c = job.cinfo;
    if (c.num_components != 1 && c.num_components != 3) {
        return DecodeOutcome::Refused;
    }
    if (!pictureSizeAllowed(c.image_width, c.image_height) ||
        !image.allocate(static_cast<std::int32_t>(c.image_width),
                        static_cast<std::int32_t>(c.image_height))) {
        return DecodeOutcome::Failed;
    }
    job.progress.progress_monitor = watchScans;
    job.cinfo.progress = &job.progress;
    return readPixels(job, image) ? DecodeOutcome::Decoded : DecodeOutcome::Failed;
}

} // namespace

bool mayBeJpeg(std::span<const std::uint8_t> head, std::uint64_t) {
    return head.size() >= 2 && head[0] == 0xFF && head[1] == 0xD8;
}

DecodeOutcome decodeJpeg(std::span<const std::uint8_t> file, Bmp24Image& image) {
    if (!mayBeJpeg(file, file.size())) {
        return DecodeOutcome::Refused;
    }
    return decodeFrom({file.data(), file.size(), nullptr}, image);
}

DecodeOutcome decodeJpegFile(std::FILE* file, Bmp24Image& image) {
    std::uint8_t start[2] = {};
    if (std::fread(start, 1, 2, file) != 2 || start[0] != 0xFF || start[1] != 0xD8 ||
        std::fseek(file, 0, SEEK_SET) != 0) {
        return DecodeOutcome::Refused;
    }
    return decodeFrom({nullptr, 0, file}, image);
}

} // namespace vexilon
