// Transparency is shown over white in every kind of picture that can hold
// it: what is clear on screen must not become dots to burn.
#include "reference_tool.h"

#include <gtest/gtest.h>

namespace vexilon::samples {
namespace {

class Transparency : public ScratchDirectoryTest {};

TEST_F(Transparency, ClearIsWhiteHalfClearBlackIsMidGreyOpaqueIsUnchanged) {
    // Clear black, half-clear black, opaque red, opaque dark blue.
    const RgbPicture picture{4, 1, {0, 0, 0, 0, 0, 0, 255, 0, 0, 10, 20, 90}};
    const Bytes alpha{0, 128, 255, 255};
    writePam(dir_ / "in.pam", picture, alpha);
    struct Case {
        const char* name;
        const char* options;
        bool partial; // holds alpha between clear and opaque
    };
    const Case cases[] = {
        {"rgba.png", "PNG32:", true},
        {"grey-alpha.png", "-colorspace Gray -define png:color-type=4 PNG:", true},
        {"palette-trns.png", "-channel A -threshold 60% +channel PNG8:", false},
        {"associated.tif", "-define tiff:alpha=associated TIFF:", true},
        {"unassociated.tif", "-define tiff:alpha=unassociated TIFF:", true},
        {"mask.bmp", "BMP:", true},
        {"index.gif", "-channel A -threshold 60% +channel GIF:", false},
        {"alpha.webp", "-define webp:lossless=true WEBP:", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(runTool("convert " + shellQuoted(dir_ / "in.pam") + " " + c.options +
                            shellQuoted(dir_ / c.name)));
        Bytes out;
        ASSERT_EQ(decodeBytes(readFile(dir_ / c.name), &out), kConvertOk);
        const bool grey = std::string(c.name).starts_with("grey");
        EXPECT_EQ(rgbAt(out, 0, 0), (std::array<int, 3>{255, 255, 255}));
        if (c.partial) {
            // 127 of 255 white: the threshold (383 for the three together)
            // makes it a dot, as the half-dark grey it is.
            EXPECT_EQ(rgbAt(out, 1, 0), (std::array<int, 3>{127, 127, 127}));
        }
        const std::array<int, 3> red =
            grey ? std::array<int, 3>{54, 54, 54} : std::array<int, 3>{255, 0, 0};
        EXPECT_NEAR(rgbAt(out, 2, 0)[0], red[0], 1);
        EXPECT_EQ(rgbAt(out, 2, 0)[1], red[1]);
        if (!grey) {
            EXPECT_EQ(rgbAt(out, 3, 0), (std::array<int, 3>{10, 20, 90}));
        }
    }
}

// An opaque picture with an alpha channel gives exactly what it gave before.
TEST_F(Transparency, AnOpaqueAlphaChannelChangesNothing) {
    const RgbPicture picture = patternPicture(31, 17);
    const Bytes opaque(static_cast<std::size_t>(31 * 17), 255);
    writePam(dir_ / "in.pam", picture, opaque);
    for (const char* name : {"opaque.png", "opaque.tif"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(runTool(
            "convert " + shellQuoted(dir_ / "in.pam") + " -define tiff:alpha=unassociated " +
            (std::string(name).ends_with("png") ? "PNG32:" : "TIFF:") + shellQuoted(dir_ / name)));
        Bytes out;
        ASSERT_EQ(decodeBytes(readFile(dir_ / name), &out), kConvertOk);
        EXPECT_EQ(differingPixels(pixelsOf(out), picture), 0);
    }
}

} // namespace
} // namespace vexilon::samples
