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
