#pragma once

#include "support/qt_environment.h"

#include "app/program_state.h"
#include "app/window/main_window.h"
#include "control/machine_controls.h"
#include "control/run_time_clock.h"
#include "image/console/image_editing.h"
#include "image/console/picture_intake.h"
#include "image/pipeline/prepared_image.h"
#include "sample_writers.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include <QTemporaryDir>

#include <filesystem>
#include <utility>
#include <vector>

namespace vexilon {

using samples::Bytes;
using samples::RgbPicture;

// A picture of one colour with black dots.
inline RgbPicture picture(int width, int height, std::uint8_t grey,
                          std::initializer_list<std::pair<int, int>> dots = {}) {
    RgbPicture p{width, height, Bytes(3 * static_cast<std::size_t>(width * height), grey)};
    for (const auto& [x, y] : dots) {
        std::fill_n(p.at(x, y), 3, std::uint8_t{0});
    }
    return p;
}

inline bool isDot(const QImage& image, int x, int y) {
    return (image.pixel(x, y) & 0xFFFFFF) == 0;
}

// The main window with intake and editing bound to it as the console binds
// them, callbacks recorded.
class ImageConsoleTest : public ::testing::Test {
protected:
    std::filesystem::path save(const std::string& name, const RgbPicture& p) {
        samples::writeFile(dir / name, samples::writeBmp(p));
        return dir / name;
    }
    void takeIn(const std::string& name, const RgbPicture& p) {
        intake.takeIn(save(name, p).string());
    }
    Bytes previewBytes() const { return samples::readFile(dir / kPreviewFileName); }
    const QImage& view() const { return window.ui.PreviewPicture->picture(); }
    QImage snapshot() const { return pictureFromBmpBytes(state.canvasSnapshot.value_or("")); }
    QStringList enabledControls() const {
        QStringList names;
        for (const QWidget* control : machineControls(window)) {
            if (control->isEnabled()) {
                names << control->objectName();
            }
        }
        return names;
    }
    bool canvasIsClear() const {
        QImage blank(512, 512, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        return window.ui.PreviewCanvas->inkLayer() == blank;
    }

    QTemporaryDir scratch;
    std::filesystem::path dir{scratch.path().toStdString()};
    ProgramState state;
    MainWindow window;
    RunTimeClock clock{*window.runTimeTimer(), *window.ui.RunTimeLabel};
    QString log;
    std::vector<std::pair<QString, QString>> messages;
    PreviewArea area{*window.ui.PreviewCanvas, *window.ui.PreviewPicture, *window.ui.RightRuler,
                     *window.ui.BottomRuler};
    PictureIntake::Log logLine = [this](const QString& text) { log += text; };
    PictureIntake::ShowMessage showMessage = [this](const QString& text, const QString& caption) {
        messages.emplace_back(text, caption);
    };
    PictureIntake intake{area, state.pipelineValues(), window, clock, dir, logLine, showMessage};
    ImageEditing editing{
        area, state.pipelineValues(), window, *window.ui.XCoordBox, *window.ui.YCoordBox, intake,
        dir};

    const QStringList kImageButtons{"SendImageButton", "ClearButton", "ZoomOutButton",
                                    "RotateButton", "ReloadButton"};
    const std::pair<QString, QString> kWrongFileType{"Wrong File Type", "Sorry "};
};

} // namespace vexilon
