#pragma once

#include "support/qt_environment.h"

#include "app/console.h"
#include "app/console_features.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "control/machine_controls.h"
#include "image/pipeline/prepared_image.h"
#include "link/serial/serial_channel.h"
#include "sample_writers.h"
#include "support/window_controls.h"
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

// The main window with the console's features bound to it as the console
// binds them, on a port that is not open unless a test opens it; the log,
// the message boxes, the sends and the waits are recorded. Sends and waits
// go to `steps` in order: "send <n>" for each send (with " failed" when it
// was refused), "wait <ms>" for each wait.
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
    const QImage& view() const { return ui.PreviewPicture->picture(); }
    QImage snapshot() const { return state.canvasSnapshot.value_or(QImage()); }
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
        return ui.PreviewCanvas->inkLayer() == blank;
    }
    bool send(std::span<const std::uint8_t> bytes) {
        const bool sent = channel.send(bytes);
        steps << QStringLiteral("send %1%2").arg(bytes.size()).arg(sent ? "" : " failed");
        return sent;
    }

    QTemporaryDir scratch;
    std::filesystem::path dir{scratch.path().toStdString()};
    ProgramState state;
    MainWindow window;
    test_support::MainWindowControls ui{window};
    SerialChannel channel{dir / "ports"};
    QString log;
    std::vector<std::pair<QString, QString>> messages;
    QStringList steps;
    std::function<void()> duringWait = [] {};
    ConsolePaths paths{dir / "config", dir / "config" / "Config.ini", dir / "ports", dir,
                       dir / "dev"};
    ConsoleFeatures features{
        window, state, paths, channel,
        Services{[this](const QString& text) { log += text; },
                 [this](const QString& text, const QString& caption) {
                     messages.emplace_back(text, caption);
                 },
                 [this](std::span<const std::uint8_t> bytes) { return send(bytes); },
                 [this](std::chrono::milliseconds ms) {
                     steps << QStringLiteral("wait %1").arg(ms.count());
                     duringWait();
                 }}};
    Console console{window, state, paths, features};
    PictureIntake& intake = features.intake;
    ImageEditing& editing = features.editing;
    ImageUpload& upload = features.upload;

    const QStringList kImageButtons{"SendImageButton", "ClearButton", "ZoomOutButton",
                                    "RotateButton", "ReloadButton"};
    const std::pair<QString, QString> kWrongFileType{"Wrong File Type", "Sorry "};
};

} // namespace vexilon
