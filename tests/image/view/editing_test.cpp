#include "image_console_fixture.h"

#include "ui/draw_panel.h"

namespace vexilon {
namespace {

TEST_F(ImageConsoleTest, RotateTurnsThePreparedImageAndFourTurnsRestoreTheFile) {
    takeIn("dots.bmp", picture(489, 489, 255, {{0, 0}, {10, 20}}));
    const Bytes original = previewBytes();
    const QString takenInLog = log;

    editing.rotate();
    EXPECT_TRUE(isDot(view(), 511, 0) && isDot(view(), 491, 10));
    EXPECT_FALSE(isDot(view(), 0, 0) || isDot(view(), 10, 20));
    EXPECT_EQ(state.imageBitmap.pixelColour(491, 511 - 10), Rgb{});
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(previewBytes(), original);
        editing.rotate();
    }
    EXPECT_EQ(previewBytes(), original);
    EXPECT_EQ(log, takenInLog);
    EXPECT_EQ(state.zoomSize, 512);
    EXPECT_EQ(enabledControls(), kImageButtons);
}

TEST_F(ImageConsoleTest, BeforeAnyPictureRotateEmptiesThePreviewAndZoomOutMakesItWhite) {
    editing.rotate();
    EXPECT_TRUE(std::filesystem::exists(dir / kPreviewFileName));
    EXPECT_TRUE(previewBytes().empty());
    EXPECT_TRUE(view().isNull());

    editing.zoomOut();
    EXPECT_EQ(state.zoomSize, 0);
    const Bytes preview = previewBytes();
    ASSERT_EQ(preview.size(), kPreparedFileSize);
    EXPECT_TRUE(std::all_of(preview.begin() + 62, preview.end(), [](auto b) { return b == 0xFF; }));
}

TEST_F(ImageConsoleTest, ZoomOutShrinksTheLastImageAndReloadStartsAfresh) {
    takeIn("black.bmp", picture(489, 489, 0));
    const Bytes takenIn = previewBytes();
    const QRgb background = ui.PreviewCanvas->backgroundColour().rgb();

    // The prepared image, white margins included, drawn as 486 x 486 at (7, 7).
    editing.zoomOut();
    EXPECT_EQ(state.zoomSize, 486);
    EXPECT_EQ(snapshot().pixel(6, 6), background);
    EXPECT_TRUE(isDot(snapshot(), 7, 7));
    EXPECT_EQ(snapshot().pixel(492, 492), qRgb(255, 255, 255));
    EXPECT_EQ(snapshot().pixel(493, 493), background);
    EXPECT_TRUE(isDot(view(), 7, 7));
    EXPECT_FALSE(isDot(view(), 6, 6));

    // 461 x 461 at (19, 19), from the reduced image: its white edge, 7 dots
    // wide, comes to about 6.
    editing.zoomOut();
    EXPECT_EQ(snapshot().pixel(18, 18), background);
    EXPECT_EQ(snapshot().pixel(19, 19), qRgb(255, 255, 255));
    EXPECT_FALSE(isDot(snapshot(), 24, 24));
    EXPECT_TRUE(isDot(snapshot(), 26, 26));
    EXPECT_EQ(snapshot().pixel(479, 479), qRgb(255, 255, 255));
    EXPECT_EQ(snapshot().pixel(480, 480), background);

    editing.rotate();
    editing.zoomOut();
    EXPECT_EQ(state.zoomSize, 437);

    editing.reload();
    EXPECT_EQ(state.zoomSize, 512);
    EXPECT_EQ(previewBytes(), takenIn);
}

TEST_F(ImageConsoleTest, ClearWipesTheCanvasOnlyAndOpensEveryControl) {
    takeIn("dots.bmp", picture(40, 40, 255, {{0, 0}}));
    const Bytes preview = previewBytes();
    const QImage shown = view();
    ui.PreviewCanvas->setPixel(3, 4, 0xFF);
    ui.XCoordBox->setText("12");
    ui.YCoordBox->setText("345");

    editing.clear();
    EXPECT_TRUE(canvasIsClear());
    EXPECT_EQ(enabledControls().size(), 20);
    EXPECT_EQ(ui.XCoordBox->text(), "000");
    EXPECT_EQ(ui.YCoordBox->text(), "000");
    EXPECT_EQ(previewBytes(), preview);
    EXPECT_EQ(view(), shown);
}

} // namespace
} // namespace vexilon
