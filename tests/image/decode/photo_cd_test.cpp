#include "decode_test_support.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

namespace vexilon::samples {
namespace {

using Rgb = std::array<int, 3>;

TEST(PhotoCd, SignedBaseImageDecodesByTheYccFormula) {
    Bytes file = photoCdFile(kPhotoCdBaseEnd); // the base image alone, under 1 MiB
    std::uint8_t* group0 = &file[kPhotoCdBaseOffset];
    group0[2] = 100;              // luma, row 0, x 2
    group0[768 + 2] = 50;         // luma, row 1, x 2
    group0[1536 + 1] = 200;       // chroma 1 of pixels 2 and 3
    group0[1536 + 384 + 1] = 100; // chroma 2 of pixels 2 and 3
    std::uint8_t* group1 = group0 + 2304;
    group1[768 + 767] = 150;  // luma, row 3, x 767
    group1[1536 + 383] = 156; // both chroma at their zero point
    group1[1536 + 767] = 137;

    Bytes out;
    ASSERT_EQ(decodeBytes(file, &out), kConvertOk);
    EXPECT_EQ(rgbAt(out, 767, 511), (Rgb{0, 154, 0})); // all zero bytes
    EXPECT_EQ(rgbAt(out, 2, 0), (Rgb{92, 148, 230}));
    EXPECT_EQ(rgbAt(out, 3, 0), (Rgb{0, 8, 90}));
    EXPECT_EQ(rgbAt(out, 2, 1), (Rgb{21, 78, 160}));
    EXPECT_EQ(rgbAt(out, 767, 3), (Rgb{211, 211, 211}));
    EXPECT_EQ(out.size(), 54u + 768 * 3 * 512);
}

TEST(PhotoCd, NeedsTheSignatureAndTheWholeBaseImage) {
    EXPECT_EQ(decodeBytes(photoCdFile(kPhotoCdBaseEnd - 1)), kConvertNotAPicture);
    EXPECT_EQ(decodeBytes(photoCdFile(2000000, false)), kConvertNotAPicture);
    EXPECT_EQ(decodeBytes(photoCdFile(2000000)), kConvertOk);
}

} // namespace
} // namespace vexilon::samples
