#include "sample_writers.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace vexilon::samples {
namespace {

// DC in two steps, then each AC coefficient alone, first its high bits and
// then its last bit: a valid progressive script of 128 scans.
std::vector<jpeg_scan_info> everyCoefficientAlone() {
    std::vector<jpeg_scan_info> scans;
    scans.push_back({1, {0}, 0, 0, 0, 1});
    scans.push_back({1, {0}, 0, 0, 1, 0});
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 1; k < 64; ++k) {
            scans.push_back({1, {0}, k, k, pass, 1 - pass});
        }
    }
    return scans;
}

} // namespace

Bytes writeJpeg(const RgbPicture& p, const JpegOptions& o) {
    Bytes samples;
    for (std::size_t i = 0; i < p.rgb.size(); i += 3) {
        if (o.components == 1) {
            samples.push_back(p.rgb[i]);
            continue;
        }
        samples.insert(samples.end(), p.rgb.begin() + static_cast<std::ptrdiff_t>(i),
                       p.rgb.begin() + static_cast<std::ptrdiff_t>(i + 3));
        if (o.components == 4) {
            samples.push_back(0);
        }
    }
    const std::vector<jpeg_scan_info> scans = everyCoefficientAlone();

    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(p.width);
    c.image_height = static_cast<JDIMENSION>(p.height);
    c.input_components = o.components;
    c.in_color_space = o.components == 1 ? JCS_GRAYSCALE : o.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, o.quality, TRUE);
    if (o.progressive) {
        jpeg_simple_progression(&c);
    }
    if (o.everyCoefficientAlone) {
        c.scan_info = scans.data();
        c.num_scans = static_cast<int>(scans.size());
    }
    jpeg_start_compress(&c, TRUE);
    const std::size_t rowBytes =
        static_cast<std::size_t>(p.width) * static_cast<std::size_t>(o.components);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = samples.data() + c.next_scanline * rowBytes;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes withOrientation(const Bytes& jpeg, std::uint8_t orientation) {
    const Bytes exif{'E',  'x',  'i', 'f', 0, 0,       // Exif header
                     'I',  'I',  42,  0,   8, 0, 0, 0, // TIFF, first directory at 8
                     1,    0,                          // one entry
                     0x12, 0x01, 3,   0,   1, 0, 0, 0, orientation, 0, 0, 0, // orientation, SHORT
                     0,    0,    0,   0};                                    // no next directory
    const auto length = static_cast<std::uint16_t>(exif.size() + 2);
    Bytes file{0xFF,
               0xD8,
               0xFF,
               0xE1,
               static_cast<std::uint8_t>(length >> 8),
               static_cast<std::uint8_t>(length)};
    file.insert(file.end(), exif.begin(), exif.end());
    file.insert(file.end(), jpeg.begin() + 2, jpeg.end());
    return file;
}

} // namespace vexilon::samples
