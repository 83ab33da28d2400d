// Writes the seed corpus of fuzz_decode: one small file of every format and
// of the variants each decoder tells apart, accepted and refused alike.
//   usage: decode_make_corpus <directory>
#include "sample_writers.h"

#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace vexilon::samples;

namespace {

void save(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes) {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const RgbPicture p = patternPicture(11, 7);
    const RgbPicture few = patternPicture(11, 7, 16);
    const RgbPicture block = patternPicture(20, 18);

    save(dir, "baseline.jpg", writeJpeg(block, {.quality = 50}));
    save(dir, "grey.jpg", writeJpeg(block, {.components = 1, .quality = 50}));
    save(dir, "progressive.jpg", writeJpeg(block, {.quality = 50, .progressive = true}));
    save(dir, "cmyk.jpg", writeJpeg(block, {.components = 4, .quality = 50}));

    save(dir, "bottom-up.bmp", writeBmp(p));
    save(dir, "top-down.bmp", writeBmp(p, {.topDown = true}));
    save(dir, "core.bmp", writeBmp(p, {.coreHeader = true}));
    save(dir, "bit-fields.bmp", writeBmp(p, {.compression = 3}));
    save(dir, "rle8.bmp", writeBmp(p, {.bits = 8, .compression = 1}));

    save(dir, "plain.tif", writeTiff(p));
    save(dir, "strips-lzw.tif", writeTiff(p, {.compression = COMPRESSION_LZW, .rowsPerStrip = 2}));
    save(dir, "tiled-deflate.tif",
         writeTiff(p, {.compression = COMPRESSION_ADOBE_DEFLATE, .tiled = true}));
    save(dir, "bottom-first-packbits.tif",
         writeTiff(p,
                   {.compression = COMPRESSION_PACKBITS, .rowsPerStrip = 3, .bottomFirst = true}));
    save(dir, "one-strip-right-to-left.tif",
         writeTiff(p, {.rowsPerStrip = 7, .bottomFirst = true, .rightToLeft = true}));
    save(dir, "bilevel-g4.tif", writeCheckerTiff(150, 70));

    save(dir, "rgb.png", writePng(p));
    save(dir, "rgba-gamma.png",
         writePng(p, {.colorType = PNG_COLOR_TYPE_RGB_ALPHA, .gamma = PngGamma::Value}));
    save(dir, "grey2-srgb.png",
         writePng(p, {.colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 2, .gamma = PngGamma::Srgb}));
    save(dir, "grey-alpha.png", writePng(p, {.colorType = PNG_COLOR_TYPE_GRAY_ALPHA}));
    save(dir, "palette4-interlaced.png",
         writePng(few, {.colorType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 4, .interlaced = true}));
    save(dir, "rgb16.png", writePng(p, {.bitDepth = 16}));

    save(dir, "rgb.pcx", writePcx(p));
    save(dir, "palette.pcx", writePcx(few, {.planes = 1}));

    Bytes photoCd = photoCdFile(kPhotoCdBaseEnd);
    for (std::size_t i = kPhotoCdBaseOffset; i < photoCd.size(); i += 97) {
        photoCd[i] = static_cast<std::uint8_t>(i);
    }
    save(dir, "base.pcd", photoCd);
    save(dir, "one.gif", gifFile());
    return 0;
}
