// How long a change of picture mode takes to convert the kept canvas again:
// a 512 x 512 snapshot holding a 490 x 490 photograph-like picture, through
// each conversion with brightness and contrast set. Prints the median and the
// slowest of the runs for each, in milliseconds.
//   usage: bench_picture_modes [runs, default 50]
#include "image/pipeline/prepared_image.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vexilon;

namespace {

std::vector<std::uint8_t> snapshot() {
    std::vector<std::uint8_t> bgr(3 * 512 * 512, 240);
    for (int y = 0; y < 490; ++y) {
        for (int x = 0; x < 490; ++x) {
            const double d = std::hypot(x - 300, y - 200);
            const double shade =
                128 + 90 * std::sin(x / 23.0) * std::cos(y / 31.0) - (d < 90 ? 60 : 0);
            std::uint8_t* px = &bgr[3 * static_cast<std::size_t>(y * 512 + x)];
            px[0] = static_cast<std::uint8_t>(std::clamp(shade + 20, 0.0, 255.0));
            px[1] = static_cast<std::uint8_t>(std::clamp(shade, 0.0, 255.0));
            px[2] = static_cast<std::uint8_t>(std::clamp(shade - 20, 0.0, 255.0));
        }
    }
    return bgr;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const std::vector<std::uint8_t> pixels = snapshot();
    const PixelView view{pixels.data(), 3 * 512, 512, 512, 3};
    std::printf("%-16s %10s %10s\n", "conversion", "median ms", "max ms");
    for (const Conversion c : {Conversion::Threshold, Conversion::FloydSteinberg,
                               Conversion::Atkinson, Conversion::Ordered, Conversion::Halftone}) {
        const PictureMode mode{
            .conversion = c, .halftoneCell = 8, .brightness = 10, .contrast = 20};
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const auto image = PreparedImage::fromSnapshot(view, mode, {0, 0, 490, 490});
            const auto end = std::chrono::steady_clock::now();
            if (!image) {
                return 1;
            }
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-16s %10.2f %10.2f\n", std::string(conversionName(c)).c_str(),
                    ms[ms.size() / 2], ms.back());
    }
    return 0;
}
