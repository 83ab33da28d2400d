// Writes the seed corpus of fuzz_intake: JPEG files large enough to be
// reduced on the way in, colour and grey, baseline and progressive.
//   usage: intake_make_corpus <directory>
#include "corpus_files.h"
#include "sample_writers.h"

#include <cmath>

using namespace vexilon::samples;

namespace {

// Smooth enough to stay within the fuzzer's 64 KiB inputs at these sizes.
RgbPicture gradient(int width, int height) {
    RgbPicture p{width, height, Bytes(3 * static_cast<std::size_t>(width * height))};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* px = p.at(x, y);
            px[0] = static_cast<std::uint8_t>(255 * x / width);
            px[1] = static_cast<std::uint8_t>(255 * y / height);
            px[2] = static_cast<std::uint8_t>(128 + 60 * std::sin((x + y) / 90.0));
        }
    }
    return p;
}

} // namespace

int main(int argc, char** argv) {
    const auto corpus = CorpusDirectory::fromArguments(argc, argv);
    if (!corpus) {
        return 2;
    }
    corpus->save("wide.jpg", writeJpeg(gradient(1000, 700), {.quality = 40}));
    corpus->save("tall-grey.jpg", writeJpeg(gradient(600, 2000), {.components = 1, .quality = 40}));
    corpus->save("progressive.jpg",
                 writeJpeg(gradient(1600, 1600), {.quality = 20, .progressive = true}));
    corpus->save("too-small.jpg", writeJpeg(gradient(700, 500), {.quality = 40}));
    return 0;
}
