#pragma once

#include <unistd.h>

#include <string>

#include <filesystem>

#include <gtest/gtest.h>

#include "image/decode/convert.h"
#include "sample_picture.h"

#include <array>

namespace vexilon::samples {

// The decoders' result for a file held in memory, with the intermediate
// image's bytes when there is one.
inline int decodeBytes(const Bytes& file, Bytes* intermediate = nullptr) {
    Bmp24Image image;
    const int result = decodePicture(file, image);
    if (intermediate != nullptr) {
        intermediate->assign(image.bytes().begin(), image.bytes().end());
    }
    return result;
}

// Red, green, blue of pixel (x, y), y from the top, read back from an
// intermediate image by its own header.
inline std::array<int, 3> rgbAt(const Bytes& bmp, std::int32_t x, std::int32_t y) {
    const auto le = [&](std::size_t at) {
        return static_cast<std::int32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                         bmp[at + 3] << 24);
    };
    const std::int32_t width = le(18);
    const std::int32_t height = le(22);
    const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t at =
        54 + stride * static_cast<std::size_t>(height - 1 - y) + 3 * static_cast<std::size_t>(x);
    return {bmp[at + 2], bmp[at + 1], bmp[at]};
}

// A fixture with a scratch directory of its own for each test, removed after it.
class ScratchDirectoryTest : public ::testing::Test {
protected:
    std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                                 ("decode-" + std::to_string(::getpid()) + "-" +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(dir_); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string save(const std::string& name, const Bytes& bytes) const {
        writeFile(dir_ / name, bytes);
        return (dir_ / name).string();
    }
};

} // namespace vexilon::samples
