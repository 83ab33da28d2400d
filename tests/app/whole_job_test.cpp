// Whole jobs as an operator runs them: the console finds the simulated
// machine, takes in a dropped picture, uploads it and starts carving; what
// the machine burnt is compared with the preview file the console prepared,
// and what the console painted with what the machine reported.

#include "app/console_rig.h"
#include "app/job_rig.h"
#include "support/window_controls.h"

#include "app/settings/settings_store.h"
#include "sample_writers.h"
#include "settings_window/settings_window_support.h"
#include "sim/port/simulated_machine.h"
#include "ui/base/interval_timer.h"
#include "ui/colour_picker.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"

#include <QTest>

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace vexilon {
namespace {

using namespace std::chrono_literals;
using test_support::Dot;
using test_support::Dots;
using test_support::waitUntil;

constexpr std::int32_t kRed = 255; // the carved colour of a fresh settings file
constexpr std::int32_t kBlue = 16711680;

bool rowByRow(const Dot& a, const Dot& b) {
    return std::pair(a.second, a.first) < std::pair(b.second, b.first);
}

QRgb rgbOf(std::int32_t colorref) {
    const auto bits = static_cast<std::uint32_t>(colorref);
    return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

void blacken(samples::RgbPicture& picture, int x, int y) {
    std::fill_n(picture.at(x, y), 3, std::uint8_t{0});
}

// Black shapes on white that reach every edge of the picture, so that a
// mirrored, shifted or cut image cannot pass for the right one.
samples::RgbPicture shapes() {
    samples::RgbPicture p{120, 80, samples::Bytes(3 * 120 * 80, 255)};
    for (const auto& [x, y] : {Dot{0, 0}, Dot{119, 0}, Dot{0, 79}, Dot{119, 79}}) {
        blacken(p, x, y);
    }
    for (int x = 10; x < 110; ++x) {
        blacken(p, x, 20);
        blacken(p, x, 21);
    }
    for (int y = 5; y < 75; ++y) {
        blacken(p, 60, y);
    }
    for (int y = 30; y < 70; ++y) {
        blacken(p, y + 20, y);
    }
    return p;
}

std::size_t blackPixels(const samples::RgbPicture& p) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < p.rgb.size(); i += 3) {
        count += (p.rgb[i] | p.rgb[i + 1] | p.rgb[i + 2]) == 0 ? 1 : 0;
    }
    return count;
}

struct WholeJob : ::testing::Test, test_support::ConsoleRig {
    std::vector<std::chrono::milliseconds> waits;
    std::unique_ptr<sim::SimulatedMachine> machine;
    Dots painted; // every dot the console was told of, in order
    const test_support::MainWindowControls ui{window};

    WholeJob() : ConsoleRig([this](std::chrono::milliseconds time) { waits.push_back(time); }) {
        QObject::connect(&console.features.replyRouting, &ReplyRouting::dotReported,
                         [this](int x, int y) { painted.emplace_back(x, y); });
    }

    void connectTo(sim::Pace pace) {
        machine = std::make_unique<sim::SimulatedMachine>(
            ports, sim::Options{.port = 0, .pace = pace, .faults = {}});
        console.runStartUp();
        ASSERT_TRUE(waitUntil([&] { return ui.ConnectButton->text() == "Connected"; }));
    }

    // Drops the picture's file on the preview as a file manager would.
    void drop(const samples::RgbPicture& picture) {
        const std::filesystem::path file = root / "picture.bmp";
        samples::writeFile(file, samples::writeBmp(picture));
        ASSERT_TRUE(test_support::dropOnPreview(ui, file));
        EXPECT_FALSE(state.imagePath.has_value()); // taken in once the drop is answered
        ASSERT_TRUE(waitUntil([&] { return state.imagePath.has_value(); })) << log().toStdString();
    }

    Dots previewDots() { return test_support::previewDots(console.features.intake.previewFile()); }
    Dots burntDots() const { return test_support::burntDots(machine->workPiece()); }

    void uploadAndStart() {
        painted.clear();
        waits.clear();
        const std::size_t sent = machine->received().size();
        ui.SendImageButton->click();
        EXPECT_EQ(waits, std::vector{3000ms}); // after erase image, not sat out here
        // Eight erase bytes, then the image data.
        ASSERT_TRUE(machine->waitForReceived(sent + 8 + 32830, 10s));
        ASSERT_TRUE(ui.StartButton->isEnabled());
        ui.StartButton->click();
        EXPECT_TRUE(window.runTimeTimer()->isRunning());
    }

    QRgb ink(const Dot& dot) const {
        return ui.PreviewCanvas->inkLayer().pixel(dot.first, dot.second);
    }

    // The machine carved `prepared` to its end and its piece shows `burnt`;
    // each dot was painted in `colour` over the picture view as it was reported,
    // the last one stands in the coordinate boxes, and the clock stopped.
    void expectCarvedAndShown(const Dots& prepared, std::int32_t colour, const Dots& burnt) {
        ASSERT_TRUE(waitUntil([&] { return !window.runTimeTimer()->isRunning(); }));
        EXPECT_EQ(machine->status().job, sim::JobState::Finished);
        EXPECT_EQ(burntDots(), burnt);
        // The stop byte after the last report shows that dot once more.
        Dots distinct = painted;
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        EXPECT_EQ(distinct, prepared);

        // What the operator sees: the prepared picture, white but for the
        // burnt dots, each in the carved colour.
        QImage expected(512, 512, QImage::Format_RGB32);
        expected.fill(Qt::white);
        for (const auto& [x, y] : prepared) {
            expected.setPixel(x, y, rgbOf(colour));
        }
        const QImage shown =
            ui.PreviewPicture->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect inside(1, 1, 510, 510); // within the canvas's border line
        EXPECT_TRUE(shown.copy(inside) == expected.copy(inside));
        ASSERT_FALSE(prepared.empty());
        // The boxes follow the reports once a screen frame.
        const QString last =
            QString::number(prepared.back().first) + ',' + QString::number(prepared.back().second);
        const auto boxes = [&] { return ui.XCoordBox->text() + ',' + ui.YCoordBox->text(); };
        EXPECT_TRUE(waitUntil([&] { return boxes() == last; }, 1s)) << boxes().toStdString();
    }
};

// One job after each edit, so that neither can hide the other's upload image
// behind a preview file that the next edit rewrites. Intake and both edits
// write the preview file through the same writer, so the dropped picture is
// only checked to be taken in unscaled.
TEST_F(WholeJob, DroppedThenRotatedThenReducedPicturesAreWhatTheMachineBurns) {
    ASSERT_NO_FATAL_FAILURE(connectTo(sim::Pace::Fast));
    const samples::RgbPicture picture = shapes();
    ASSERT_NO_FATAL_FAILURE(drop(picture));
    const Dots taken = previewDots();
    ASSERT_EQ(taken.size(), blackPixels(picture));
    ui.RotateButton->click();
    const Dots rotated = previewDots();
    ASSERT_EQ(rotated.size(), taken.size());
    ASSERT_NE(rotated, taken);
    ASSERT_NO_FATAL_FAILURE(uploadAndStart());
    expectCarvedAndShown(rotated, kRed, rotated);

    ui.ZoomOutButton->click();
    const Dots reduced = previewDots();
    ASSERT_LT(reduced.size(), rotated.size());
    ASSERT_NO_FATAL_FAILURE(uploadAndStart());
    // The same piece: the second job burns over the first one's dots, while
    // the canvas shows the second job's only.
    Dots both;
    std::set_union(rotated.begin(), rotated.end(), reduced.begin(), reduced.end(),
                   std::back_inserter(both), rowByRow);
    expectCarvedAndShown(reduced, kRed, both);
}

// Every click mid-job sends bytes while reports keep coming; a send that threw
// away unread input would lose dots (and glue two reports into one that lies
// off the piece).
TEST_F(WholeJob, PauseJogAndBurningTimeMidJobLoseNoReport) {
    ASSERT_NO_FATAL_FAILURE(connectTo(sim::Pace::Fast));
    ASSERT_NO_FATAL_FAILURE(drop({512, 512, samples::Bytes(3 * 512 * 512, 0)}));
    const Dots prepared = previewDots();
    ASSERT_NO_FATAL_FAILURE(uploadAndStart());
    // At once: at this pace the machine is far ahead of what the console has
    // shown, and reports stand in the line.
    ui.PauseButton->click();
    ASSERT_TRUE(waitUntil([&] { return machine->status().job == sim::JobState::Paused; }, 5s));
    ui.LeftButton->click();
    QTest::mouseClick(ui.BurningTimeSlider, Qt::LeftButton, Qt::NoModifier,
                      ui.BurningTimeSlider->rect().bottomRight() - QPoint(4, 2));
    ASSERT_TRUE(ui.StartButton->isEnabled());
    ui.StartButton->click();
    ASSERT_TRUE(window.runTimeTimer()->isRunning()) << log().toStdString();
    ASSERT_LT(painted.size(), prepared.size()); // the clicks came in the middle
    expectCarvedAndShown(prepared, kRed, prepared);
    EXPECT_TRUE(log().contains(QStringLiteral("Laser Movement : Left")));
}

// The machine is handed its job directly and carves at the line's own rate,
// so that it is still carving when the settings window has come and gone (at
// the fast pace the job would be over first; an upload at the line's rate
// would take seconds).
TEST_F(WholeJob, ColourChosenMidJobPaintsTheLaterDotsOnly) {
    ASSERT_NO_FATAL_FAILURE(connectTo(sim::Pace::LineRate));
    EXPECT_EQ(state.carvedColour, kRed);
    sim::DotImage rows;
    for (int y = 100; y < 140; ++y) {
        for (int x = 0; x < 512; ++x) {
            rows.setDot(x, y, true);
        }
    }
    machine->carve(rows);
    ui.StartButton->click();
    ASSERT_TRUE(waitUntil([&] { return painted.size() >= 10; }));

    // Counted the moment the choice lands, from the picker's own event.
    std::size_t before = 0;
    test::whenModalOpens<SettingsWindow>([&](SettingsWindow& settings) {
        QObject::connect(test_support::controlsOf(settings).CarvedColorPicker,
                         &ColourPicker::colourChanged, [&] { before = painted.size(); });
        test::chooseInPalette(test_support::controlsOf(settings).CarvedColorPicker, Qt::blue);
    });
    QTest::mouseClick(ui.SettingButton, Qt::LeftButton);
    EXPECT_EQ(state.carvedColour, kBlue);
    EXPECT_EQ(SettingsStore(paths.settingsFile).read("Setting", "Color", ""), "16711680");
    ASSERT_GE(before, 10u);

    ASSERT_TRUE(waitUntil([&] { return painted.size() >= before + 20; }));
    const std::size_t seen = painted.size();
    for (std::size_t i = 0; i < seen; ++i) {
        ASSERT_EQ(ink(painted[i]), rgbOf(i < before ? kRed : kBlue)) << "dot " << i;
    }
    EXPECT_EQ(machine->status().job, sim::JobState::Carving);
}

} // namespace
} // namespace vexilon
