#include "image/bmp/bmp_headers.h"

#include "image/bitmap/bmp_builder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vexilon {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BmpHeaders, CoreAndLongerHeadersAreReadAndOtherSizesRefused) {
    // Core fields are 16 bits without sign: 65535 stays a width.
    const Bytes core = test::buildBmp({.width = 65535, .height = 2, .bits = 1, .coreHeader = true});
    const auto read = readBmpHeaders(core);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->core());
    EXPECT_EQ(read->tableEntrySize(), 3U);
    EXPECT_EQ(read->info, (InfoHeader{.width = 65535, .height = 2, .bitCount = 1}));
    EXPECT_FALSE(readBmpHeaders(std::span(core).first(25)).has_value());

    Bytes longer = test::buildBmp({.width = 3, .height = 4});
    longer[14] = 124;
    ASSERT_TRUE(readBmpHeaders(longer).has_value());
    EXPECT_EQ(readBmpHeaders(longer)->info.height, 4);
    EXPECT_FALSE(readBmpHeaders(std::span(longer).first(53)).has_value());
    for (const std::uint8_t size : {0, 11, 13, 39}) {
        longer[14] = size;
        EXPECT_FALSE(readBmpHeaders(longer).has_value()) << int{size};
    }
}

TEST(BmpHeaders, SizesBeyondThe32BitFieldsAreNotWritten) {
    Bytes out(kBmpHeadersSize, 0xEE);
    const InfoHeader info{.width = 1, .height = 1, .bitCount = 24};
    EXPECT_FALSE(writeBmpHeaders(out.data(), info, 0, std::uint64_t{1} << 32));
    EXPECT_FALSE(writeBmpHeaders(out.data(), info, 1024, 0xFFFFFFFFU - kBmpHeadersSize - 1023));
    EXPECT_EQ(out, Bytes(kBmpHeadersSize, 0xEE));
    EXPECT_TRUE(writeBmpHeaders(out.data(), info, 1024, 0xFFFFFFFFU - kBmpHeadersSize - 1024));
    EXPECT_EQ(out[2] & out[3] & out[4] & out[5], 0xFF);
    // Rows pad to whole 32-bit words.
    EXPECT_EQ(bmpRowStride(33, 1), 8U);
    EXPECT_EQ(bmpRowStride(65535, 24), 196608U);
}

} // namespace
} // namespace vexilon
