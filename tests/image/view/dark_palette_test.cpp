// The image the laser burns must not depend on the desktop's colours. Run
// under a real X server, once with the default desktop and once with a KDE
// session whose colour file is dark (see CMakeLists.txt).
#include "image_console_fixture.h"

#include "image/pipeline/prepared_image.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace vexilon {
namespace {

QPalette darkPalette() {
    QPalette dark;
    const QColor window(35, 38, 41);
    const QColor base(20, 22, 24);
    for (const auto role :
         {QPalette::Window, QPalette::Button, QPalette::Base, QPalette::AlternateBase,
          QPalette::Light, QPalette::Midlight, QPalette::Mid, QPalette::Dark, QPalette::Shadow}) {
        dark.setColor(role, role == QPalette::Base ? base : window);
    }
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        dark.setColor(role, QColor(239, 240, 241));
    }
    return dark;
}

// What a run of the editing steps leaves behind: the preview file and the
// upload's bytes after each step.
class DarkPaletteTest : public ImageConsoleTest {
protected:
    std::vector<Bytes> outcomes() {
        std::vector<Bytes> seen;
        const auto note = [&] {
            seen.push_back(previewBytes());
            seen.push_back(imageData(state.imageBitmap));
        };
        takeIn("small.bmp", picture(200, 100, 90, {{5, 5}}));
        note();
        takeIn("wide.bmp", picture(1000, 500, 200, {{500, 250}}));
        note();
        editing.zoomOut();
        note();
        editing.rotate();
        note();
        editing.zoomOut();
        note();
        upload.upload();
        note();
        editing.reload();
        note();
        return seen;
    }
};

TEST_F(DarkPaletteTest, IntakeZoomRotateAndUploadGiveTheSameDotsUnderAnyPalette) {
    const QPalette startUp = QApplication::palette();
    std::vector<std::vector<Bytes>> runs;
    runs.push_back(outcomes());

    // Set on the window too: widgets made before an application-wide change
    // need not follow it at once.
    const auto usePalette = [this](const QPalette& palette) {
        QApplication::setPalette(palette);
        window.setPalette(palette);
    };
    usePalette(QApplication::style()->standardPalette());
    runs.push_back(outcomes());
    usePalette(darkPalette());
    ASSERT_LT(ui.PreviewCanvas->palette().color(QPalette::Button).lightness(), 60);
    runs.push_back(outcomes());
    usePalette(startUp);

    // The last picture is light grey throughout: nothing of it, and nothing
    // of the margins around it, is a dot to burn.
    EXPECT_EQ(blackDotCount(imageData(state.imageBitmap)), 0);
    for (std::size_t run = 1; run < runs.size(); ++run) {
        ASSERT_EQ(runs[run].size(), runs[0].size());
        for (std::size_t step = 0; step < runs[0].size(); ++step) {
            EXPECT_TRUE(runs[run][step] == runs[0][step]) << "run " << run << ", step " << step;
        }
    }
    EXPECT_EQ(runs[0][0].size(), kPreparedFileSize);
}

// The desktop the test runs under says whether its palette is dark; the KDE
// entry of this test must really have started dark, or it proves nothing.
TEST(DarkDesktop, TheKdeSessionStartsWithItsDarkColours) {
    if (qEnvironmentVariable("XDG_CURRENT_DESKTOP") != QStringLiteral("KDE")) {
        GTEST_SKIP() << "not a KDE session";
    }
    EXPECT_LT(QApplication::palette().color(QPalette::Button).lightness(), 80);
}

} // namespace
} // namespace vexilon
