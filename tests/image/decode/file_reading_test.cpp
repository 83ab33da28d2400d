// How picture files are opened and read: never waiting on something that is
// not a regular file, and reading no more of a file than a decoder needs.
#include "child_peak.h"
#include "decode_test_support.h"
#include "image/decode/decoders.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexilon::samples {
namespace {

namespace fs = std::filesystem;

class FileReading : public ScratchDirectoryTest {
protected:
    // A file of size bytes that takes no room: zeros but for head at its start
    // and the bytes at `at`.
    std::string sparseFile(const std::string& name, off_t size, off_t at = 0,
                           const std::string& bytes = "") const {
        const std::string path = (dir_ / name).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::ftruncate(fd, size), 0);
        EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
        return path;
    }
};

TEST_F(FileReading, APipeNobodyWritesIsRefusedWithoutWaiting) {
    const std::string fifo = (dir_ / "picture.jpg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string target = (dir_ / "out.bmp").string();

    // Opened for reading, the pipe would block until a writer came: when that
    // happens the test hangs, and the test run's timeout reports it.
    EXPECT_EQ(convertToBmp24(fifo, target), kConvertNotAPicture);
    EXPECT_EQ(imageWidth(fifo), 0);
    EXPECT_EQ(imageHeight(fifo), 0);
    EXPECT_FALSE(fs::exists(target));
    // A device is no picture either, however much it would give.
    EXPECT_EQ(convertToBmp24("/dev/zero", target), kConvertNotAPicture);
}

TEST_F(FileReading, AHugeFileIsReadOnlyAsFarAsTheDecoderThatTakesItNeeds) {
    constexpr off_t kTwoGigabytes = 2000000000;
    const std::string zeros = sparseFile("zeros.bin", kTwoGigabytes);
    const std::string target = (dir_ / "out.bmp").string();
    const ChildRun refused = runInChild([&] { return convertToBmp24(zeros, target); });
    EXPECT_EQ(refused.result, kConvertNotAPicture);
    EXPECT_GE(refused.peakGrowthKiB, 0);
    EXPECT_LT(refused.peakGrowthKiB, 32 * 1024);

    // Photo CD needs its signature and the base image, nothing past it.
    const std::string photoCd = sparseFile("big.pcd", kTwoGigabytes, 0x800, "PCD_IPI");
    const ChildRun taken = runInChild([&] { return convertToBmp24(photoCd, target); });
    EXPECT_EQ(taken.result, kConvertOk);
    EXPECT_LT(taken.peakGrowthKiB, 32 * 1024);
    EXPECT_EQ(imageWidth(target), 768);

    // A BMP beyond the size limit is refused from its header alone.
    std::string header(54, '\0');
    const unsigned char fields[] = {'B', 'M', 0, 0,    0,    0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
                                    0,   0,   0, 0x01, 0x40, 0, 0, 0x01, 0x40, 0, 0,  1, 0, 24, 0};
    std::memcpy(header.data(), fields, sizeof fields); // 16385 x 16385
    const std::string bmp = sparseFile("big.bmp", 54 + off_t{16385} * 49156, 0, header);
    const ChildRun big = runInChild([&] { return convertToBmp24(bmp, target); });
    EXPECT_EQ(big.result, kConvertNotAPicture);
    EXPECT_LT(big.peakGrowthKiB, 32 * 1024);
}

} // namespace
} // namespace vexilon::samples
