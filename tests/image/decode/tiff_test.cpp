// TIFF pictures are read in rows or bands whatever their strip layout, so
// that memory stays near the intermediate image's size.
#include "child_peak.h"
#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace vexilon::samples {
namespace {

struct Variant {
    const char* name;
    std::uint16_t samples, bits, photometric, planar, orientation, extra;
};

// A picture of pseudo-random samples in one LZW strip, written with libtiff.
void writeVariant(const std::string& path, const Variant& v, std::uint32_t width,
                  std::uint32_t height) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, v.samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, v.bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, v.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, v.planar);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, v.orientation);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    if (v.extra != 0) {
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &v.extra);
    }
    std::vector<std::uint16_t> map(3 << v.bits);
    for (std::size_t i = 0; i < map.size(); ++i) {
        map[i] = static_cast<std::uint16_t>(i * 7919);
    }
    if (v.photometric == PHOTOMETRIC_PALETTE) {
        TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + (1 << v.bits),
                     map.data() + (2 << v.bits));
    }
    Bytes row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
    std::uint32_t seed = 7;
    const int planes = v.planar == PLANARCONFIG_SEPARATE ? v.samples : 1;
    for (int plane = 0; plane < planes; ++plane) {
        for (std::uint32_t y = 0; y < height; ++y) {
            for (auto& sample : row) {
                seed = seed * 1103515245 + 12345;
                sample = static_cast<std::uint8_t>(seed >> 16);
            }
            TIFFWriteScanline(tif, row.data(), y, static_cast<std::uint16_t>(plane));
        }
    }
    TIFFClose(tif);
}

TEST(TiffRows, EveryKindOfPixelAndOrientationGivesWhatLibtiffReadsWhole) {
    constexpr std::uint32_t kWidth = 53;
    constexpr std::uint32_t kHeight = 37;
    const Variant variants[] = {
        {"black and white, 0 is white", 1, 1, PHOTOMETRIC_MINISWHITE, PLANARCONFIG_CONTIG,
         ORIENTATION_TOPLEFT, 0},
        {"rgb 16 bits", 3, 16, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, ORIENTATION_TOPLEFT, 0},
        {"palette 4 bits", 1, 4, PHOTOMETRIC_PALETTE, PLANARCONFIG_CONTIG, ORIENTATION_TOPLEFT, 0},
        {"planes apart", 3, 8, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE, ORIENTATION_TOPLEFT, 0},
        {"grey 2 bits, bottom right", 1, 2, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG,
         ORIENTATION_BOTRIGHT, 0},
        {"rgba, right top", 4, 8, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, ORIENTATION_RIGHTTOP,
         EXTRASAMPLE_ASSOCALPHA},
        {"cmyk, left bottom", 4, 8, PHOTOMETRIC_SEPARATED, PLANARCONFIG_CONTIG, ORIENTATION_LEFTBOT,
         0},
        {"rgba apart, bottom left", 4, 8, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE,
         ORIENTATION_BOTLEFT, EXTRASAMPLE_UNASSALPHA},
    };
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("variant-" + std::to_string(::getpid()) + ".tif"))
                                 .string();
    testing::internal::CaptureStderr();
    for (const Variant& v : variants) {
        writeVariant(path, v, kWidth, kHeight);
        std::vector<std::uint32_t> whole(kWidth * kHeight);
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_EQ(
            TIFFReadRGBAImageOriented(tif, kWidth, kHeight, whole.data(), ORIENTATION_TOPLEFT, 0),
            1)
            << v.name;
        TIFFClose(tif);
        Bytes out;
        ASSERT_EQ(decodeBytes(readFile(path), &out), kConvertOk) << v.name;
        int wrong = 0;
        for (std::uint32_t y = 0; y < kHeight; ++y) {
            for (std::uint32_t x = 0; x < kWidth; ++x) {
                // libtiff's colours carry their alpha multiplied in; over
                // white the rest of 255 is white.
                const std::uint32_t p = whole[y * kWidth + x];
                const int clear = 255 - static_cast<int>(TIFFGetA(p));
                const auto over = [clear](std::uint32_t c) {
                    return std::min(255, static_cast<int>(c) + clear);
                };
                wrong +=
                    rgbAt(out, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)) !=
                    std::array<int, 3>{over(TIFFGetR(p)), over(TIFFGetG(p)), over(TIFFGetB(p))};
            }
        }
        EXPECT_EQ(wrong, 0) << v.name;
    }
    testing::internal::GetCapturedStderr(); // libtiff's warnings about the extra samples
    std::filesystem::remove(path);
}

TEST(TiffRows, PeakMemoryOfOneLargeStripStaysNearTheImage) {
    // 4096 x 8192: a 96 MiB intermediate image. An RGBA buffer of the whole
    // picture would add 128 MiB more.
    const Bytes file = writeCheckerTiff(4096, 8192);
    const ChildRun run = runInChild([&] {
        Bmp24Image image;
        const int result = decodePicture(file, image);
        const auto bytes = image.bytes();
        // Spot checks: the top-left tile is white, the next one black.
        if (result != kConvertOk || bytes[54 + std::size_t{8191} * 4096 * 3] != 255 ||
            bytes[54 + std::size_t{8191} * 4096 * 3 + 64 * 3] != 0) {
            return 0;
        }
        return result;
    });
    EXPECT_EQ(run.result, kConvertOk);
    EXPECT_GT(run.peakGrowthKiB, 96 * 1024);
    EXPECT_LT(run.peakGrowthKiB, (96 + 40) * 1024);
}

} // namespace
} // namespace vexilon::samples
