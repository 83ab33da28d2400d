#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace vexilon::samples {
namespace {

namespace fs = std::filesystem;

using ConvertFile = ScratchDirectoryTest;

TEST_F(ConvertFile, WritesTheIntermediateImageAndReportsItsSize) {
    const RgbPicture picture = patternPicture(7, 5);
    const std::string png = save("in.png", writePng(picture));
    const std::string bmp = save("out.bmp", Bytes(100000, 0xEE)); // a longer old file is truncated
    ASSERT_EQ(convertToBmp24(png, bmp), kConvertOk);
    EXPECT_TRUE(readFile(bmp) == intermediateOf(picture));
    // The intermediate image by its header, other pictures by decoding them.
    for (const std::string& path :
         {bmp, png, save("top.bmp", writeBmp(picture, {.topDown = true}))}) {
        EXPECT_EQ(imageWidth(path), 7) << path;
        EXPECT_EQ(imageHeight(path), 5) << path;
    }
    // A JPEG file is decoded as it is read: the same image as from memory.
    const Bytes jpeg = writeJpeg(picture);
    Bytes fromMemory;
    ASSERT_EQ(decodeBytes(jpeg, &fromMemory), kConvertOk);
    ASSERT_EQ(convertToBmp24(save("in.jpg", jpeg), bmp), kConvertOk);
    EXPECT_TRUE(readFile(bmp) == fromMemory);
    // Source and target may be one file.
    EXPECT_EQ(convertToBmp24(png, png), kConvertOk);
    EXPECT_TRUE(readFile(png) == intermediateOf(picture));
}

TEST_F(ConvertFile, FailuresLeaveTheTargetAlone) {
    const std::string png = save("in.png", writePng(patternPicture(3, 3)));
    const std::string target = save("keep.bmp", {1, 2, 3});
    EXPECT_EQ(convertToBmp24((dir_ / "missing.png").string(), target), kConvertSourceMissing);
    EXPECT_EQ(convertToBmp24("", target), kConvertNameMissing);
    EXPECT_EQ(convertToBmp24(png, ""), kConvertNameMissing);
    const Bytes ppm{'P', '6', '\n', '1', ' ', '1', '\n', '2', '5', '5', '\n', 0, 0, 0};
    EXPECT_EQ(convertToBmp24(save("dot.ppm", ppm), target), kConvertNotAPicture);
    EXPECT_EQ(convertToBmp24(dir_.string(), target), kConvertNotAPicture);
    const Bytes jpeg = writeJpeg(patternPicture(40, 30));
    EXPECT_EQ(convertToBmp24(save("header.jpg", Bytes(jpeg.begin(), jpeg.begin() + 100)), target),
              kConvertNotAPicture);
    EXPECT_EQ(readFile(target), (Bytes{1, 2, 3}));
    EXPECT_EQ(convertToBmp24(png, (dir_ / "no/such/dir/out.bmp").string()), kConvertWriteFailed);

    for (const std::string& unreadable :
         {(dir_ / "missing.bmp").string(), (dir_ / "dot.ppm").string(), std::string()}) {
        EXPECT_EQ(imageWidth(unreadable), 0) << unreadable;
        EXPECT_EQ(imageHeight(unreadable), 0) << unreadable;
    }
}

} // namespace
} // namespace vexilon::samples
