#include "image/decode/jpeg_job.h"

#include "image/decode/decode_limits.h"
#include "image/decode/orientation.h"

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's extended colour spaces are needed to decode straight into BMP order"
#endif

namespace vexilon {
namespace {

// Real encoders write about a dozen scans. A file with hundreds makes libjpeg
// pass over the whole coefficient buffer again and again for minutes.
constexpr int kMaxScans = 100;

void outputNothing(j_common_ptr) {}

} // namespace

bool rewoundJpegFile(std::FILE* file) {
    std::uint8_t start[2] = {};
    return std::fread(start, 1, 2, file) == 2 && start[0] == 0xFF && start[1] == 0xD8 &&
           std::fseek(file, 0, SEEK_SET) == 0;
}

JpegJob::JpegJob() {
    cinfo_.err = jpeg_std_error(&errors_);
    errors_.error_exit = abandon;
    errors_.output_message = outputNothing;
    cinfo_.client_data = this;
}

JpegJob::~JpegJob() {
    jpeg_destroy_decompress(&cinfo_);
}

void JpegJob::abandon(j_common_ptr cinfo) {
    std::longjmp(static_cast<JpegJob*>(cinfo->client_data)->jump_, 1);
}

// Called under the setjmp of the caller.
void JpegJob::begin() {
    jpeg_create_decompress(&cinfo_);
    cinfo_.mem->max_memory_to_use = kMaxLibraryBuffer;
    // Exif blocks are kept for their orientation tag.
    jpeg_save_markers(&cinfo_, JPEG_APP0 + 1, 0xFFFF);
}

int JpegJob::orientation() const {
    for (jpeg_saved_marker_ptr m = cinfo_.marker_list; m != nullptr; m = m->next) {
        if (m->marker == JPEG_APP0 + 1) {
            const int found = exifOrientation({m->data, m->data_length});
            if (found != 1) {
                return found;
            }
        }
    }
    return 1;
}

void JpegJob::watchScans(j_common_ptr cinfo) {
    if (static_cast<JpegJob*>(cinfo->client_data)->cinfo_.input_scan_number > kMaxScans) {
        abandon(cinfo);
    }
}

// The functions below hold the only setjmp calls: nothing with a destructor
// lives between them and libjpeg, and an error comes back as false.

bool JpegJob::readHeader(std::FILE* file) {
    if (setjmp(jump_) != 0) {
        return false;
    }
    begin();
    jpeg_stdio_src(&cinfo_, file);
    return jpeg_read_header(&cinfo_, TRUE) == JPEG_HEADER_OK;
}

bool JpegJob::readHeader(const std::uint8_t* data, std::size_t size) {
    if (setjmp(jump_) != 0) {
        return false;
    }
    begin();
    jpeg_mem_src(&cinfo_, data, size);
    return jpeg_read_header(&cinfo_, TRUE) == JPEG_HEADER_OK;
}

bool JpegJob::scaleTo(unsigned num, unsigned denom) {
    if (setjmp(jump_) != 0) {
        return false;
    }
    cinfo_.out_color_space = JCS_EXT_BGR;
    cinfo_.scale_num = num;
    cinfo_.scale_denom = denom;
    jpeg_calc_output_dimensions(&cinfo_);
    return true;
}

bool JpegJob::readPixels(Bmp24Image& image) {
    if (setjmp(jump_) != 0) {
        return false;
    }
    jpeg_decompress_struct& c = cinfo_;
    c.out_color_space = JCS_EXT_BGR;
    progress_.progress_monitor = watchScans;
    c.progress = &progress_;
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

} // namespace vexilon
