// Writes the seed corpus of fuzz_decode: one small file of every format and
// of the variants each decoder tells apart, accepted and refused alike.
// Kinds our own writers do not make (BMP palettes, GIF, WebP) come from
// imagemagick_seeds.sh beside this file.
//   usage: decode_make_corpus <directory>
#include "corpus_files.h"
#include "sample_writers.h"

#include <png.h>
#include <string>
#include <tiffio.h>

using namespace vexilon::samples;

int main(int argc, char** argv) {
    const auto corpus = CorpusDirectory::fromArguments(argc, argv);
    if (!corpus) {
        return 2;
    }
    const RgbPicture p = patternPicture(11, 7);
    const RgbPicture few = patternPicture(11, 7, 16);
    const RgbPicture block = patternPicture(20, 18);

    corpus->save("baseline.jpg", writeJpeg(block, {.quality = 50}));
    corpus->save("grey.jpg", writeJpeg(block, {.components = 1, .quality = 50}));
    corpus->save("progressive.jpg", writeJpeg(block, {.quality = 50, .progressive = true}));
    corpus->save("cmyk.jpg", writeJpeg(block, {.components = 4, .quality = 50}));
    for (const std::uint8_t orientation : {3, 6, 8}) {
        corpus->save("orientation" + std::to_string(orientation) + ".jpg",
                     withOrientation(writeJpeg(block, {.quality = 50}), orientation));
    }
    Bytes cut = writeJpeg(block, {.quality = 50, .progressive = true});
    cut.resize(cut.size() * 2 / 3);
    corpus->save("cut-progressive.jpg", cut);

    corpus->save("bottom-up.bmp", writeBmp(p));
    corpus->save("top-down.bmp", writeBmp(p, {.topDown = true}));
    corpus->save("core.bmp", writeBmp(p, {.coreHeader = true}));
    corpus->save("bit-fields.bmp", writeBmp(p, {.compression = 3}));
    corpus->save("rle8.bmp", writeBmp(p, {.bits = 8, .compression = 1}));
    corpus->save("rle4.bmp", writeBmp(p, {.bits = 4, .compression = 2}));
    corpus->save("masks16.bmp", writeBmp(p, {.bits = 16, .compression = 3}));

    corpus->save("plain.tif", writeTiff(p));
    corpus->save("strips-lzw.tif",
                 writeTiff(p, {.compression = COMPRESSION_LZW, .rowsPerStrip = 2}));
    corpus->save("tiled-deflate.tif",
                 writeTiff(p, {.compression = COMPRESSION_ADOBE_DEFLATE, .tiled = true}));
    corpus->save("bottom-first-packbits.tif", writeTiff(p, {.compression = COMPRESSION_PACKBITS,
                                                            .rowsPerStrip = 3,
                                                            .bottomFirst = true}));
    corpus->save("one-strip-right-to-left.tif",
                 writeTiff(p, {.rowsPerStrip = 7, .bottomFirst = true, .rightToLeft = true}));
    corpus->save("bilevel-g4.tif", writeCheckerTiff(150, 70));

    corpus->save("rgb.png", writePng(p));
    corpus->save("rgba-gamma.png",
                 writePng(p, {.colourType = PNG_COLOR_TYPE_RGB_ALPHA, .gamma = PngGamma::Value}));
    corpus->save(
        "grey2-srgb.png",
        writePng(p, {.colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = 2, .gamma = PngGamma::Srgb}));
    corpus->save("grey-alpha.png", writePng(p, {.colourType = PNG_COLOR_TYPE_GRAY_ALPHA}));
    corpus->save(
        "palette4-interlaced.png",
        writePng(few, {.colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 4, .interlaced = true}));
    corpus->save("rgb16.png", writePng(p, {.bitDepth = 16}));

    corpus->save("rgb.pcx", writePcx(p));
    corpus->save("palette.pcx", writePcx(few, {.planes = 1}));

    Bytes photoCd = photoCdFile(kPhotoCdBaseEnd);
    for (std::size_t i = kPhotoCdBaseOffset; i < photoCd.size(); i += 97) {
        photoCd[i] = static_cast<std::uint8_t>(i);
    }
    corpus->save("base.pcd", photoCd);
    corpus->save("one.gif", gifFile());
    return 0;
}
