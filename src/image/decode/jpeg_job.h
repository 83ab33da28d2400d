#pragma once

#include "image/decode/bmp24_image.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace vexilon {

// True when the file starts with a JPEG's start-of-image marker; the file is
// then back at its start for libjpeg.
bool rewoundJpegFile(std::FILE* file);

// One libjpeg decompression under the rules every JPEG path keeps: libjpeg's
// own buffers capped, nothing printed, warnings no errors (a file that ends
// early shows what it holds, the rest grey, as libjpeg gives it), and a file
// with more scans than any real encoder writes abandoned during the pixel
// read. Every libjpeg error comes back as false from the call that met it;
// the job is then done.
class JpegJob {
public:
    JpegJob();
    ~JpegJob();
    JpegJob(const JpegJob&) = delete;
    JpegJob& operator=(const JpegJob&) = delete;

    bool readHeader(std::FILE* file);
    bool readHeader(const std::uint8_t* data, std::size_t size);

    // The output size at scale num/denom, in info().output_width and
    // output_height; the pixels then come out at that scale.
    bool scaleTo(unsigned num, unsigned denom);

    // Decodes into image, whose size must be the output size, as blue,
    // green and red (grey as three equal channels).
    bool readPixels(Bmp24Image& image);

    const jpeg_decompress_struct& info() const { return cinfo_; }

    // The Exif orientation (1 to 8) of the header read; 1 when it has none.
    int orientation() const;

private:
    [[noreturn]] static void abandon(j_common_ptr cinfo);
    void begin();
    static void watchScans(j_common_ptr cinfo);

    jpeg_decompress_struct cinfo_{};
    jpeg_error_mgr errors_{};
    jpeg_progress_mgr progress_{};
    std::jmp_buf jump_{};
};

} // namespace vexilon
