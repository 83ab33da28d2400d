// Driver for bench/image/decode/run.sh.
//   bench_decode make <dir>            writes picture.jpg (6000 x 4000),
//                                      picture.png and picture.tif (4000 x 2667)
//   bench_decode make-extremes <dir>   writes checker.tif (16384 x 16384, 1 bit,
//                                      group 4, one strip) and zeros.bin
//                                      (2,000,000,000 zero bytes, sparse)
//   bench_decode convert <source> <target>   one convertToBmp24, exit 0 on success
#include "image/decode/convert.h"
#include "sample_writers.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace vexilon::samples;

namespace {

// Something like a photograph: broad gradients, soft shapes, fine texture and
// a little grain, so that the encoders neither shrink it to nothing nor
// face pure noise.
RgbPicture scene(std::int32_t width, std::int32_t height) {
    RgbPicture p{width, height,
                 Bytes(3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    std::uint32_t grain = 12345;
    for (std::int32_t y = 0; y < height; ++y) {
        const double v = static_cast<double>(y) / height;
        for (std::int32_t x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            const double dx = u - 0.6;
            const double dy = v - 0.4;
            const double disc = std::exp(-(dx * dx + dy * dy) * 18);
            const double texture = std::sin(u * 180 + std::sin(v * 40) * 3) * std::cos(v * 130);
            grain = grain * 1664525u + 1013904223u;
            const double noise = static_cast<double>(grain >> 28) - 7.5;
            const double r = 40 + 150 * v + 60 * disc + 12 * texture + noise;
            const double g = 90 + 80 * u * (1 - v) + 90 * disc + 10 * texture + noise;
            const double b = 200 - 120 * v + 30 * std::sin(u * 9) + 8 * texture + noise;
            std::uint8_t* px = p.at(x, y);
            px[0] = static_cast<std::uint8_t>(std::fmin(255, std::fmax(0, r)));
            px[1] = static_cast<std::uint8_t>(std::fmin(255, std::fmax(0, g)));
            px[2] = static_cast<std::uint8_t>(std::fmin(255, std::fmax(0, b)));
        }
    }
    return p;
}

void save(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && argc == 3) {
        const std::filesystem::path dir = argv[2];
        std::filesystem::create_directories(dir);
        save(dir / "picture.jpg", writeJpeg(scene(6000, 4000), {.quality = 90}));
        const RgbPicture smaller = scene(4000, 2667);
        save(dir / "picture.png", writePng(smaller));
        save(dir / "picture.tif", writeTiff(smaller));
        return 0;
    }
    if (mode == "make-extremes" && argc == 3) {
        const std::filesystem::path dir = argv[2];
        std::filesystem::create_directories(dir);
        save(dir / "checker.tif", writeCheckerTiff(16384, 16384));
        std::ofstream(dir / "zeros.bin").close();
        std::filesystem::resize_file(dir / "zeros.bin", 2000000000);
        return 0;
    }
    if (mode == "convert" && argc == 4) {
        return vexilon::convertToBmp24(argv[2], argv[3]) == vexilon::kConvertOk ? 0 : 1;
    }
    std::fprintf(stderr, "usage: %s make <dir> | make-extremes <dir> | convert <source> <target>\n",
                 argv[0]);
    return 2;
}
