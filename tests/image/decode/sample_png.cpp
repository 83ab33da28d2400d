#include "sample_writers.h"

#include <png.h>
#include <stdexcept>
#include <zlib.h>

namespace vexilon::samples {
namespace {

void append(png_structp png, png_bytep data, std::size_t size) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void flushNothing(png_structp) {}

// Samples of one row before packing: one or two bytes per sample.
Bytes sampleRows(const RgbPicture& p, const PngOptions& o, const Bytes& indices) {
    const bool grey = (o.colourType & PNG_COLOR_MASK_COLOR) == 0;
    const bool alpha = (o.colourType & PNG_COLOR_MASK_ALPHA) != 0;
    const bool wide = o.bitDepth == 16;
    Bytes out;
    const auto sample = [&](std::uint8_t v) {
        out.push_back(wide || o.bitDepth == 8 ? v
                                              : static_cast<std::uint8_t>(v >> (8 - o.bitDepth)));
        if (wide) {
            out.push_back(v);
        }
    };
    for (std::size_t i = 0; i < p.rgb.size() / 3; ++i) {
        if (o.colourType == PNG_COLOR_TYPE_PALETTE) {
            out.push_back(indices[i]);
            continue;
        }
        sample(p.rgb[3 * i]);
        if (!grey) {
            sample(p.rgb[3 * i + 1]);
            sample(p.rgb[3 * i + 2]);
        }
        if (alpha) {
            sample(o.alpha.empty() ? 255 : o.alpha[i]);
        }
    }
    return out;
}

// Holds the setjmp, with nothing that has a destructor.
bool encode(png_structp png, png_infop info, const RgbPicture& p, const PngOptions& o,
            png_colorp palette, int entries, png_bytepp rows, Bytes& out) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_write_fn(png, &out, append, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height),
                 o.bitDepth, o.colourType, o.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (o.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, palette, entries);
        png_set_check_for_invalid_index(png, 0);
    }
    if (o.gamma == PngGamma::Srgb) {
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    }
    if (o.gamma == PngGamma::Value || o.gamma == PngGamma::SrgbAndValue) {
        png_set_gAMA(png, info, o.gammaValue);
    }
    png_write_info(png, info);
    if (o.bitDepth < 8) {
        png_set_packing(png);
    }
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

Bytes writePng(const RgbPicture& p, const PngOptions& o) {
    IndexedPicture indexed;
    if (o.colourType == PNG_COLOR_TYPE_PALETTE) {
        indexed = indexColours(p);
    }
    Bytes samples = sampleRows(p, o, indexed.indices);
    std::vector<png_bytep> rows(static_cast<std::size_t>(p.height));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = samples.data() + y * samples.size() / rows.size();
    }
    std::vector<png_color> palette(indexed.palette.size() / 3);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {indexed.palette[3 * i], indexed.palette[3 * i + 1],
                      indexed.palette[3 * i + 2]};
    }
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool ok =
        encode(png, info, p, o, palette.data(),
               o.paletteEntries >= 0 ? o.paletteEntries : static_cast<int>(palette.size()),
               rows.data(), out);
    png_destroy_write_struct(&png, &info);
    if (!ok) {
        throw std::runtime_error("libpng could not write the sample");
    }
    if (o.gamma == PngGamma::SrgbAndValue) {
        // libpng will not write the contradiction; splice it in after IHDR.
        Bytes chunk = {0, 0, 0, 1, 's', 'R', 'G', 'B', 0};
        const uLong crc = crc32(crc32(0, nullptr, 0), chunk.data() + 4, 5);
        for (int shift = 24; shift >= 0; shift -= 8) {
            chunk.push_back(static_cast<std::uint8_t>(crc >> shift));
        }
        out.insert(out.begin() + 33, chunk.begin(), chunk.end());
    }
    return out;
}

} // namespace vexilon::samples
