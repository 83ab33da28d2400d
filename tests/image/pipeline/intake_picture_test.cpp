#include "image/decode/decoders.h"
#include "image/pipeline/intake_picture.h"
#include "sample_writers.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>

namespace vexilon {
namespace {

namespace fs = std::filesystem;
using samples::Bytes;

class IntakePictureTest : public ::testing::Test {
protected:
    std::string save(const std::string& name, const Bytes& bytes) {
        const fs::path path = fs::path(dir.path().toStdString()) / name;
        samples::writeFile(path, bytes);
        return path.string();
    }
    QTemporaryDir dir;
};

// Mean difference per channel between two images of the same size.
double meanDifference(const PixelImage& a, const PixelImage& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            sum += std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                            static_cast<int>((b.pixels[i] >> shift) & 0xFF));
        }
    }
    return sum / (3.0 * static_cast<double>(a.pixels.size()));
}

// Gradients and soft waves, as photographs have them.
samples::RgbPicture smoothScene(int width, int height) {
    samples::RgbPicture p{width, height, Bytes(3 * static_cast<std::size_t>(width * height))};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* px = p.at(x, y);
            px[0] = static_cast<std::uint8_t>(255 * x / width);
            px[1] = static_cast<std::uint8_t>(255 * y / height);
            px[2] = static_cast<std::uint8_t>(128 + 100 * std::sin(x / 40.0) * std::cos(y / 30.0));
        }
    }
    return p;
}

TEST_F(IntakePictureTest, ALargeJpegIsReducedOnTheWayInYetFitsLikeTheWholePicture) {
    const std::string jpeg = save("scene.jpg", samples::writeJpeg(smoothScene(1200, 800)));
    IntakePicture reduced;
    ASSERT_TRUE(decodeForIntake(jpeg, reduced));
    IntakePicture whole{1200, 800, reduced.placement, {}};
    ASSERT_EQ(decodePictureFile(jpeg, whole.pixels), 1);

    EXPECT_EQ(reduced.width, 1200);
    EXPECT_EQ(reduced.height, 800);
    EXPECT_EQ(reduced.placement, (Placement{0, 81, 490, 326}));
    EXPECT_EQ(reduced.pixels.width(), 600);
    EXPECT_EQ(whole.pixels.width(), 1200);
    EXPECT_EQ(whole.placement, reduced.placement);

    const PixelImage a = fittedPixels(reduced);
    const PixelImage b = fittedPixels(whole);
    ASSERT_EQ(a.pixels.size(), 490u * 326u);
    ASSERT_EQ(b.pixels.size(), a.pixels.size());
    EXPECT_LT(meanDifference(a, b), 1.0);
}

// The reduced road takes what the full decoders take, and turns what they turn.
TEST_F(IntakePictureTest, OnTheReducedRoadShortFilesAreTakenInTurnedPicturesStandUpright) {
    const samples::RgbPicture scene = smoothScene(1200, 800);
    for (const bool progressive : {false, true}) {
        Bytes cut = samples::writeJpeg(scene, {.progressive = progressive});
        cut.resize(cut.size() * 2 / 3);
        IntakePicture picture;
        EXPECT_TRUE(decodeForIntake(save("cut.jpg", cut), picture)) << progressive;
        EXPECT_EQ(picture.pixels.width(), 600);
    }
    const Bytes manyScans =
        samples::writeJpeg(scene, {.components = 1, .everyCoefficientAlone = true});
    IntakePicture refused;
    EXPECT_FALSE(decodeForIntake(save("scans.jpg", manyScans), refused));

    // Stored 1200 x 800, to be shown turned a quarter clockwise.
    const std::string turned =
        save("turned.jpg", samples::withOrientation(samples::writeJpeg(scene), 6));
    IntakePicture reduced;
    ASSERT_TRUE(decodeForIntake(turned, reduced));
    EXPECT_EQ(reduced.width, 800);
    EXPECT_EQ(reduced.height, 1200);
    EXPECT_EQ(reduced.placement, (Placement{81, 0, 326, 490}));
    EXPECT_EQ(reduced.pixels.width(), 400);
    IntakePicture whole{800, 1200, reduced.placement, {}};
    ASSERT_EQ(decodePictureFile(turned, whole.pixels), 1);
    EXPECT_EQ(whole.pixels.width(), 800);
    EXPECT_LT(meanDifference(fittedPixels(reduced), fittedPixels(whole)), 1.0);
}

TEST_F(IntakePictureTest, AreaAveragingWeighsEverySourcePixelByTheShareItCovers) {
    // Columns of 0, 90 and 180 red, squeezed from three pixels into two: the
    // middle column is split evenly between the two target pixels.
    samples::RgbPicture stripes{3, 1, Bytes{0, 0, 0, 90, 0, 0, 180, 0, 0}};
    IntakePicture picture;
    ASSERT_TRUE(decodeForIntake(save("stripes.bmp", samples::writeBmp(stripes)), picture));
    const PixelImage squeezed = scaleByAreaAverage(picture.pixels, 2, 1);
    ASSERT_EQ(squeezed.pixels.size(), 2u);
    EXPECT_EQ(squeezed.pixels[0], 0xFF1E0000u); // (2 x 0 + 90) / 3 = 30
    EXPECT_EQ(squeezed.pixels[1], 0xFF960000u); // (90 + 2 x 180) / 3 = 150

    const PixelImage copy = fittedPixels(picture);
    EXPECT_EQ(copy.pixels, (std::vector<std::uint32_t>{0xFF000000u, 0xFF5A0000u, 0xFFB40000u}));
}

TEST_F(IntakePictureTest, RefusesWhatIsNoRegularPictureFileWithoutBlocking) {
    const fs::path root = dir.path().toStdString();
    const fs::path pipe = root / "pipe.jpg";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string several = save("a.png", samples::writePng(samples::patternPicture(4, 4))) +
                                "\r\n" + (root / "b.png").string() + "\r\n";

    IntakePicture picture;
    picture.width = 7;
    for (const std::string& path :
         {std::string(), (root / "missing.png").string(), root.string(), pipe.string(), several,
          save("text.jpg", Bytes{0xFF, 0xD8, 'n', 'o'})}) {
        EXPECT_FALSE(decodeForIntake(path, picture)) << path;
    }
    EXPECT_EQ(picture.width, 7);
}

} // namespace
} // namespace vexilon
