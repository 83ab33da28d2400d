// Kinds of picture beyond the first six, each written by ImageMagick from a
// known picture and compared with what ImageMagick itself reads from the
// same file.
#include "child_peak.h"
#include "reference_tool.h"

#include <gtest/gtest.h>

namespace vexilon::samples {
namespace {

// A BMP of run-length rows, `bits` 8 or 4, with `entries` table entries:
// entry i is red 40, green 255 - 17 i, blue 17 i.
Bytes runLengthBmp(int bits, int width, int height, int entries, const Bytes& stream) {
    const auto le32 = [](Bytes& b, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    const auto offset = static_cast<std::uint32_t>(54 + 4 * entries);
    Bytes file{'B', 'M'};
    le32(file, offset + static_cast<std::uint32_t>(stream.size()));
    le32(file, 0);
    le32(file, offset);
    for (const std::uint32_t v :
         {40U, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
          1U | static_cast<std::uint32_t>(bits) << 16, bits == 8 ? 1U : 2U,
          static_cast<std::uint32_t>(stream.size()), 0U, 0U, static_cast<std::uint32_t>(entries),
          0U}) {
        le32(file, v);
    }
    for (int i = 0; i < entries; ++i) {
        const auto level = static_cast<std::uint8_t>(17 * i);
        file.insert(file.end(), {level, static_cast<std::uint8_t>(255 - level), 40, 0});
    }
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}

class NewKinds : public ScratchDirectoryTest {
protected:
    // Writes `picture` through ImageMagick with `options` into `name`, then
    // compares our decoding of that file with ImageMagick's.
    void expectAsReference(const std::string& name, const RgbPicture& picture,
                           const std::string& options, const Bytes& alpha = {}) {
        SCOPED_TRACE(name);
        writePam(dir_ / "in.pam", picture, alpha);
        // Options may end in a format prefix ("BMP3:"), which goes before the name.
        const std::string gap = !options.empty() && options.back() == ':' ? "" : " ";
        ASSERT_TRUE(runTool("convert " + shellQuoted(dir_ / "in.pam") + " " + options + gap +
                            shellQuoted(dir_ / name)));
        // Blending a partly transparent pixel with white may round either way.
        expectAsImageMagickReads(name, alpha.empty() ? 0 : 1);
    }

    // Our decoding of the file against ImageMagick's reading of it.
    void expectAsImageMagickReads(const std::string& name, int tolerance = 0) {
        const std::optional<RgbPicture> reference = referencePixels(dir_ / name);
        ASSERT_TRUE(reference.has_value());
        Bytes out;
        ASSERT_EQ(decodeBytes(readFile(dir_ / name), &out), kConvertOk);
        EXPECT_EQ(differingPixels(pixelsOf(out), *reference, tolerance), 0);
    }
};

TEST_F(NewKinds, BmpOfEveryDepthReadsAsImageMagickReadsIt) {
    const RgbPicture two = patternPicture(37, 23, 2);
    const RgbPicture sixteen = patternPicture(37, 23, 16);
    const RgbPicture many = patternPicture(37, 23, 200);
    const RgbPicture full = patternPicture(37, 23);
    expectAsReference("1.bmp", two, "-type Palette BMP3:");
    expectAsReference("4.bmp", sixteen, "-type Palette BMP3:");
    expectAsReference("8.bmp", many, "-type Palette -compress None BMP3:");
    expectAsReference("rle8.bmp", many, "-type Palette -compress RLE BMP3:");
    expectAsReference("rgb565.bmp", full, "-define bmp:subtype=RGB565 BMP:");
    expectAsReference("rgb555.bmp", full, "-define bmp:subtype=RGB555 BMP:");
    expectAsReference("core.bmp", many, "-type Palette BMP2:");
    Bytes alpha(static_cast<std::size_t>(full.width * full.height));
    for (std::size_t i = 0; i < alpha.size(); ++i) {
        alpha[i] = static_cast<std::uint8_t>(i % 3 == 0 ? 255 : i % 3 == 1 ? 0 : 90);
    }
    expectAsReference("32.bmp", full, "BMP:", alpha);
}

TEST_F(NewKinds, GifWebpAndSixteenBitPngReadAsImageMagickReadsThem) {
    const RgbPicture many = patternPicture(41, 29, 200);
    const RgbPicture full = patternPicture(41, 29);
    expectAsReference("a.gif", many, "");
    expectAsReference("interlaced.gif", many, "-interlace GIF");
    expectAsReference("lossless.webp", full, "-define webp:lossless=true");
    expectAsReference("16.png", full, "-depth 16 PNG48:");
    Bytes alpha(static_cast<std::size_t>(full.width * full.height), 255);
    alpha[5] = 0;
    expectAsReference("transparent.gif", many, "", alpha);
}

// A top-down file of 8 bits and one of RLE4: ImageMagick writes neither, so
// they are made here by hand and ImageMagick only reads them.
TEST_F(NewKinds, TopDownAndRle4ReadAsImageMagickReadsThem) {
    const RgbPicture many = patternPicture(19, 11, 200);
    writePam(dir_ / "in.pam", many);
    ASSERT_TRUE(runTool("convert " + shellQuoted(dir_ / "in.pam") +
                        " -type Palette -compress None BMP3:" + shellQuoted(dir_ / "up.bmp")));
    Bytes file = readFile(dir_ / "up.bmp");
    const std::uint32_t offset = file[10] | file[11] << 8 | file[12] << 16;
    const std::size_t stride = (19 + 3) / 4 * 4;
    Bytes flipped = file;
    for (std::size_t row = 0; row < 11; ++row) {
        std::copy_n(file.begin() + offset + row * stride, stride,
                    flipped.begin() + offset + (10 - row) * stride);
    }
    flipped[22] = static_cast<std::uint8_t>(-11); // height -11: top row first
    flipped[23] = flipped[24] = flipped[25] = 0xFF;
    writeFile(dir_ / "down.bmp", flipped);

    // 4 bits, 12 x 3, every pixel given: runs of alternating nibbles,
    // absolute stretches (one padded to 16 bits), ends of line and of bitmap.
    Bytes rle = runLengthBmp(4, 12, 3, 16, {5,  0x12, 0,    3,    0x45, 0x60, 4,    0x33, 0, 0, //
                                            0,  12,   0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0, 0, //
                                            12, 0x7F, 0,    1});
    writeFile(dir_ / "rle4.bmp", rle);

    for (const char* name : {"down.bmp", "rle4.bmp"}) {
        SCOPED_TRACE(name);
        expectAsImageMagickReads(name);
    }
}

// Where run-length streams leave the rules: skipped pixels are white, a
// stream that stops early is a picture so far, and what would write outside
// the picture or its table is refused.
TEST(RunLengthEdges, SkipsAreWhiteShortStreamsStopAndOverrunsAreRefused) {
    const auto decoded = [](const Bytes& stream, int entries = 4) {
        Bytes out;
        const int result = decodeBytes(runLengthBmp(8, 4, 2, entries, stream), &out);
        return result == kConvertOk ? std::optional(pixelsOf(out)) : std::nullopt;
    };
    // Entry i is (40, 255 - 17 i, 17 i); the bottom row comes first.
    const std::optional<RgbPicture> skipped = decoded({1, 3, 0, 2, 2, 1, 0, 1});
    ASSERT_TRUE(skipped.has_value());
    EXPECT_EQ(skipped->at(0, 1)[2], 51) << "the one pixel written, bottom left";
    for (const auto& [x, y] : {std::pair{1, 1}, {3, 1}, {0, 0}, {3, 0}}) {
        EXPECT_EQ(std::vector<int>(skipped->at(x, y), skipped->at(x, y) + 3),
                  (std::vector<int>{255, 255, 255}));
    }
    const std::optional<RgbPicture> cut = decoded({4, 2, 0, 0, 2});
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->at(3, 1)[2], 34);
    EXPECT_EQ(cut->at(0, 0)[2], 255);

    EXPECT_FALSE(decoded({4, 1, 0, 0, 4, 1, 0, 0, 1, 1}).has_value()) << "past the last row";
    EXPECT_FALSE(decoded({0, 2, 1, 5, 0, 1}).has_value()) << "a skip past the picture";
    EXPECT_FALSE(decoded({2, 7, 0, 1}).has_value()) << "an index past the table";
    EXPECT_TRUE(decoded({9, 1, 0, 0, 0, 1}).has_value()) << "a row running into its padding";
}

// Where a GIF's first image descriptor starts: after the header, the
// logical screen, its colour table and any extensions.
std::size_t gifFrameAt(const Bytes& gif) {
    std::size_t at = 13 + ((gif[10] & 0x80) != 0 ? 3 * (std::size_t{2} << (gif[10] & 7)) : 0);
    while (gif[at] == 0x21) {
        at += 2;
        while (gif[at] != 0) {
            at += gif[at] + 1;
        }
        ++at;
    }
    return at;
}

void put16(Bytes& file, std::size_t at, std::uint16_t value) {
    file[at] = static_cast<std::uint8_t>(value);
    file[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// AddressSanitizer marks every allocation in its shadow memory, an eighth of
// its size: the 1 GiB a WebP with alpha at 16383 x 16383 asks for shows as
// 128 MiB there, though the picture's own pages are never touched.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kBombPeakKiB = (64 + 1024 / 8 + 768 / 8) * 1024;
#else
constexpr long kBombPeakKiB = 64 * 1024;
#endif

// Files that claim huge pictures they do not hold are refused without
// taking the memory such a picture would need.
TEST_F(NewKinds, DimensionBombsAreRefusedQuicklyInLittleMemory) {
    writePam(dir_ / "in.pam", patternPicture(16, 16, 40));
    ASSERT_TRUE(
        runTool("convert " + shellQuoted(dir_ / "in.pam") + " " + shellQuoted(dir_ / "a.gif")));
    ASSERT_TRUE(runTool("convert " + shellQuoted(dir_ / "in.pam") + " -define webp:lossless=true " +
                        shellQuoted(dir_ / "a.webp")));
    const Bytes gif = readFile(dir_ / "a.gif");
    Bytes hugeScreen = gif;
    put16(hugeScreen, 6, 65535);
    put16(hugeScreen, 8, 65535);
    Bytes hugeFrame = gif;
    const std::size_t frame = gifFrameAt(gif);
    ASSERT_EQ(gif[frame], 0x2C);
    put16(hugeFrame, 6, 16384);
    put16(hugeFrame, 8, 16384);
    put16(hugeFrame, frame + 5, 16384);
    put16(hugeFrame, frame + 7, 16384);
    Bytes hugeWebp = readFile(dir_ / "a.webp");
    ASSERT_EQ(std::string(hugeWebp.begin() + 12, hugeWebp.begin() + 16), "VP8L");
    // 14 bits of width - 1, then 14 of height - 1, after the signature byte.
    const std::uint32_t sides = 16383U | 16383U << 14;
    for (int i = 0; i < 4; ++i) {
        hugeWebp[21 + i] = static_cast<std::uint8_t>((hugeWebp[21 + i] & (i == 3 ? 0xF0 : 0)) |
                                                     ((sides >> (8 * i)) & 0xFF));
    }
    for (const auto& [name, file] :
         {std::pair{"gif screen", hugeScreen}, {"gif frame", hugeFrame}, {"webp", hugeWebp}}) {
        SCOPED_TRACE(name);
        const ChildRun run = runInChild([&file] { return decodeBytes(file); });
        EXPECT_EQ(run.result, kConvertNotAPicture);
        EXPECT_LT(run.peakGrowthKiB, kBombPeakKiB);
    }
}

} // namespace
} // namespace vexilon::samples
