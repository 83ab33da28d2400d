#include "image_console_fixture.h"

#include "ui/base/file_name_text.h"

namespace vexilon {
namespace {

TEST_F(ImageConsoleTest, ALargePictureIsFittedConvertedShownAndKeptUpsideDown) {
    ui.RunTimeLabel->setText("Run time :  01:05");
    takeIn("wide.bmp", picture(1000, 500, 0));

    EXPECT_EQ(log, ">Original image information:\r\n>Image resolution:1000*500\r\n"
                   ">Image is too large,It has been adjusted to the optimal resolution\r\n"
                   ">Image has been converted to black and white\r\n\r\n");
    EXPECT_TRUE(messages.empty());
    // Drawn as 490 x 245 at (0, 122); the light canvas around it turns white.
    const QImage& shown = view();
    ASSERT_EQ(shown.size(), QSize(512, 512));
    EXPECT_TRUE(isDot(shown, 0, 122) && isDot(shown, 489, 366));
    EXPECT_FALSE(isDot(shown, 0, 121) || isDot(shown, 490, 122) || isDot(shown, 489, 367));

    for (const auto& [x, y] : {std::pair{0, 122}, {0, 121}, {489, 366}, {300, 400}}) {
        EXPECT_EQ(state.imageBitmap.pixelColour(x, 511 - y) == Rgb{}, isDot(shown, x, y));
    }

    EXPECT_EQ(state.zoomSize, 512);
    EXPECT_EQ(state.previewPath, (dir / kPreviewFileName).string());
    EXPECT_TRUE(isDot(snapshot(), 0, 122));
    EXPECT_TRUE(canvasIsClear());
    EXPECT_NE(qAlpha(ui.BottomRuler->inkLayer().pixel(0, 11)), 0);
    EXPECT_EQ(enabledControls(), kImageButtons);
    EXPECT_EQ(ui.RunTimeLabel->text(), "Run time :  00:00");
    EXPECT_EQ(features.clock.elapsedSeconds(), 0);
}

TEST_F(ImageConsoleTest, SmallPicturesAreCopiedUnscaledAroundTheCentre) {
    takeIn("small.bmp", picture(100, 50, 255, {{0, 0}, {99, 49}}));
    EXPECT_EQ(log, ">Original image information:\r\n>Image resolution:100*50\r\n"
                   ">Image has been converted to black and white\r\n\r\n");
    EXPECT_TRUE(isDot(view(), 195, 220) && isDot(view(), 294, 269));
    EXPECT_FALSE(isDot(view(), 196, 220) || isDot(view(), 194, 220));
}

TEST_F(ImageConsoleTest, AFailedDropKeepsThePreparedImageAndReloadRetriesThePathThatFailed) {
    editing.reload(); // nothing dropped yet: an empty path
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(state.imagePath, "");

    takeIn("good.bmp", picture(600, 600, 255, {{0, 0}}));
    const QString goodLog = log;
    const Bytes goodPreview = previewBytes();
    const QImage goodView = view();
    const Bytes goodBitmap = state.imageBitmap.toBmpBytes();
    setMachineControlsEnabled(window, true);
    ui.PreviewCanvas->setPixel(5, 5, 0xFF);

    const std::string several =
        (dir / "good.bmp").string() + "\r\n" + (dir / "other.bmp").string() + "\r\n";
    for (const std::string& failing : {(dir / "missing.png").string(), several}) {
        messages.clear();
        intake.takeIn(failing);
        editing.reload();
        EXPECT_EQ(messages, (decltype(messages){kWrongFileType, kWrongFileType}));
        EXPECT_EQ(state.imagePath, failing);
    }
    EXPECT_EQ(log, goodLog);
    EXPECT_EQ(previewBytes(), goodPreview);
    EXPECT_EQ(view(), goodView);
    EXPECT_EQ(state.imageBitmap.toBmpBytes(), goodBitmap);
    EXPECT_TRUE(canvasIsClear());
    EXPECT_EQ(enabledControls(), kImageButtons);
}

// Dropped names are the file system's bytes: one that is not UTF-8 loads,
// and one holding a NUL is refused rather than cut short at it.
TEST_F(ImageConsoleTest, DroppedNamesAreTheFileSystemsBytes) {
    const auto dropped = [this](const std::string& name) {
        return fileNameText(QByteArray::fromStdString((dir / name).string()));
    };
    save("caf\xe9.bmp", picture(40, 40, 0));
    intake.takeIn(dropped("caf\xe9.bmp"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(state.imagePath, (dir / "caf\xe9.bmp").string());
    EXPECT_TRUE(isDot(view(), 225, 225));

    save("nul.bmp", picture(40, 40, 255));
    const std::string withNul = (dir / "nul.bmp").string() + std::string(1, '\0') + ".jpg";
    intake.takeIn(fileNameText(QByteArray::fromStdString(withNul)));
    EXPECT_EQ(messages, (decltype(messages){kWrongFileType}));
    EXPECT_EQ(state.imagePath, withNul);
    EXPECT_TRUE(isDot(view(), 225, 225)) << "the earlier picture stays";
}

} // namespace
} // namespace vexilon

namespace vexilon {
namespace {

// A horizontal grey ramp, as photographs have their shades.
RgbPicture ramp(int width, int height) {
    RgbPicture p{width, height, Bytes(3 * static_cast<std::size_t>(width * height))};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::fill_n(p.at(x, y), 3, static_cast<std::uint8_t>(x * 255 / (width - 1)));
        }
    }
    return p;
}

TEST_F(ImageConsoleTest, APictureModeConvertsTheLastPictureAgainWithoutReadingItAgain) {
    takeIn("ramp.bmp", ramp(300, 200));
    const Bytes threshold = previewBytes();
    std::filesystem::remove(dir / "ramp.bmp");
    log.clear();
    setMachineControlsEnabled(window, true);

    intake.changeMode({.conversion = Conversion::FloydSteinberg, .brightness = 10});
    EXPECT_EQ(log, ">Picture mode: Floyd-Steinberg, brightness +10, contrast 0\r\n");
    EXPECT_EQ(enabledControls(), kImageButtons) << "the new image is to be sent first";
    const Bytes diffused = previewBytes();
    ASSERT_EQ(diffused.size(), kPreparedFileSize);
    EXPECT_NE(diffused, threshold);
    const std::optional<PreparedImage> prepared =
        PreparedImage::fromUploadBitmap(state.imageBitmap);
    ASSERT_TRUE(prepared.has_value());
    EXPECT_EQ(prepared->bmpFile(), diffused);
    // Dots spread over the dark half and thin out towards the light end; the
    // surround stays white.
    int margin = 0;
    int darkHalf = 0;
    int lightHalf = 0;
    for (int y = 0; y < kPreparedSide; ++y) {
        for (int x = 0; x < kPreparedSide; ++x) {
            const bool inside = x >= 95 && x < 395 && y >= 145 && y < 345;
            const bool dot = isDot(view(), x, y);
            margin += !inside && dot;
            (x < 245 ? darkHalf : lightHalf) += inside && dot;
        }
    }
    EXPECT_EQ(margin, 0);
    EXPECT_GT(darkHalf, 2 * lightHalf);
    EXPECT_GT(lightHalf, 1000);

    editing.zoomOut();
    EXPECT_EQ(state.zoomSize, 486);
    intake.changeMode({});
    EXPECT_EQ(previewBytes(), threshold);
    EXPECT_EQ(state.zoomSize, 512);

    // A picture taken in later, or read again, gets the mode at once.
    intake.changeMode({.conversion = Conversion::FloydSteinberg, .brightness = 10});
    save("ramp.bmp", ramp(300, 200));
    editing.reload();
    EXPECT_EQ(previewBytes(), diffused);
}

} // namespace
} // namespace vexilon
