// Writes the seed corpus for fuzz_bitmap: small BMP files of every depth and
// header form the loader accepts, and a few it must refuse.

#include "image/bitmap/bmp_builder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Seed {
    std::string name;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bits;
    bool core = false;
    std::uint32_t coloursUsed = 0;
    std::uint32_t compression = 0;
    std::size_t cutOff = 0; // bytes dropped from the end
};

std::vector<std::uint8_t> build(const Seed& seed) {
    std::uint32_t entries = seed.bits <= 8 ? (1U << seed.bits) : 0;
    if (seed.coloursUsed != 0) {
        entries = seed.coloursUsed;
    }
    const std::uint32_t rows =
        static_cast<std::uint32_t>(seed.height < 0 ? -seed.height : seed.height);
    const std::uint32_t stride = (static_cast<std::uint32_t>(seed.width) * seed.bits + 31) / 32 * 4;

    vexilon::test::BmpFields fields{.width = seed.width,
                                    .height = seed.height,
                                    .bits = seed.bits,
                                    .compression = seed.compression,
                                    .imageSize = seed.core ? 0 : stride * rows,
                                    .resolution = 2835,
                                    .coloursUsed = seed.coloursUsed,
                                    .coreHeader = seed.core};
    for (std::uint32_t i = 0; i < entries; ++i) {
        fields.table.push_back({static_cast<std::uint8_t>(i * 5),
                                static_cast<std::uint8_t>(255 - i * 11),
                                static_cast<std::uint8_t>(i * 37)});
    }
    for (std::uint32_t i = 0; i < stride * rows; ++i) {
        fields.pixels.push_back(static_cast<std::uint8_t>((i * 29 + i / stride * 7) ^ 0x5A));
    }
    std::vector<std::uint8_t> out = vexilon::test::buildBmp(fields);
    out.resize(out.size() - seed.cutOff);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_bitmap_corpus <directory>\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::filesystem::create_directories(directory);
    const std::vector<Seed> seeds = {
        {"bits1.bmp", 13, 5, 1},
        {"bits4.bmp", 7, 4, 4},
        {"bits8.bmp", 6, 3, 8},
        {"bits8_short_table.bmp", 5, 4, 8, false, 6},
        {"bits16.bmp", 5, 3, 16},
        {"bits24.bmp", 5, 4, 24},
        {"bits24_top_down.bmp", 4, -3, 24},
        {"bits32.bmp", 3, 5, 32},
        {"bits24_with_table.bmp", 3, 3, 24, false, 4},
        {"core1.bmp", 9, 9, 1, true},
        {"core4.bmp", 5, 6, 4, true},
        {"core8.bmp", 4, 2, 8, true},
        {"core24.bmp", 5, 3, 24, true},
        {"rle8_refused.bmp", 4, 4, 8, false, 0, 1},
        {"truncated_refused.bmp", 6, 6, 24, false, 0, 0, 5},
    };
    for (const Seed& seed : seeds) {
        const auto bytes = build(seed);
        std::ofstream(directory / seed.name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
