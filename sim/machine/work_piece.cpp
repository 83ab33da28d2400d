#include "sim/machine/work_piece.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include <png.h>

namespace vexilon::sim {
namespace {

constexpr int kLongestBurn = 240;
constexpr int kLightestBurn = 192; // grey of the shortest burn, still seen on white

std::uint8_t greyOf(int burningTime) {
    if (burningTime == 0) {
        return 255;
    }
    const int time = std::clamp(burningTime, 1, kLongestBurn);
    return static_cast<std::uint8_t>(kLightestBurn * (kLongestBurn - time) / (kLongestBurn - 1));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

WorkPiece::WorkPiece() : dots_(static_cast<std::size_t>(kSide * kSide), 0) {}

void WorkPiece::burn(int x, int y, int burningTime) {
    if (x < 0 || y < 0 || x >= kSide || y >= kSide) {
        return;
    }
    dots_[static_cast<std::size_t>(y * kSide + x)] =
        static_cast<std::uint8_t>(std::clamp(burningTime, 1, 255));
}

int WorkPiece::burningTime(int x, int y) const {
    if (x < 0 || y < 0 || x >= kSide || y >= kSide) {
        return 0;
    }
    return dots_[static_cast<std::size_t>(y * kSide + x)];
}

long long WorkPiece::burntCount() const {
    return static_cast<long long>(dots_.size()) - std::count(dots_.begin(), dots_.end(), 0);
}

bool WorkPiece::writePng(const std::filesystem::path& path) const {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<std::uint8_t> row(kSide);
    // libpng reports errors by longjmp; nothing with a destructor is created
    // between here and the end of the writing.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            row[static_cast<std::size_t>(x)] = greyOf(burningTime(x, y));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file.get()) == 0;
}

} // namespace vexilon::sim
