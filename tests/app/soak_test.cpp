// Many jobs in one console, as a long day at the machine runs them. Every job
// takes in a new picture, uploads it, starts, pauses and goes on; some skip
// rows forth and back, some recarve, some open the settings window, and one
// in ten loses the cable and is connected again. After each job the piece
// under the laser must hold exactly the preview's dots, every one of them
// reported to the window; after the last, the process must hold no more
// descriptors or threads than after the first, and little more memory.
//
// VEXILON_SOAK_JOBS sets the number of jobs (20 unless given); the figures
// after the first job, every fiftieth and the last are printed, and the
// resident sizes after the first and the last recorded with the result.

#include "app/console_rig.h"
#include "app/job_rig.h"
#include "app/large_blocks.h"
#include "support/process_status.h"
#include "support/window_controls.h"

#include "sample_writers.h"
#include "settings_window/settings_window_support.h"
#include "sim/port/simulated_machine.h"
#include "ui/base/interval_timer.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <malloc.h>
#include <memory>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of blocks in use; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace vexilon {
namespace {

using namespace std::chrono_literals;
using test_support::Dots;
using test_support::waitUntil;

constexpr long kMemoryGrowthKiB = 5 * 1024;

// What the process holds. Heap in use is malloc's own count of live blocks:
// beside the resident size it tells a leak from memory held but free.
struct Holdings {
    long residentKiB = 0;
    long heapInUseKiB = 0;
    long descriptors = 0;
    long threads = 0;
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedAllocator = true;
long heapInUseKiB() {
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
}
#else
constexpr bool kSanitizedAllocator = false;
long heapInUseKiB() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<long>((heap.uordblks + heap.hblkhd) / 1024);
}
#endif

Holdings holdingsNow() {
    // Listing the directory opens one descriptor of its own.
    const auto listed = std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                      std::filesystem::directory_iterator());
    return {test_support::processStatusField("VmRSS"), heapInUseKiB(),
            static_cast<long>(listed) - 1, test_support::processStatusField("Threads")};
}

std::string describe(const Holdings& h) {
    return std::to_string(h.residentKiB) + " KiB resident (" + std::to_string(h.heapInUseKiB) +
           " KiB of heap in use), " + std::to_string(h.descriptors) + " descriptors, " +
           std::to_string(h.threads) + " threads";
}

// Empty when the two are equal, or else their sizes and the first dot where
// they part: a hundred thousand dots printed whole would say nothing.
std::string differences(const Dots& found, const Dots& expected) {
    if (found == expected) {
        return {};
    }
    const auto [f, e] = std::mismatch(found.begin(), found.end(), expected.begin(), expected.end());
    const auto name = [](Dots::const_iterator at, const Dots& dots) {
        return at == dots.end() ? std::string("the end")
                                : std::to_string(at->first) + "," + std::to_string(at->second);
    };
    return std::to_string(found.size()) + " dots against " + std::to_string(expected.size()) +
           ", first apart at " + name(f, found) + " against " + name(e, expected);
}

int jobsToRun() {
    const char* given = std::getenv("VEXILON_SOAK_JOBS");
    return given != nullptr && std::atoi(given) > 0 ? std::atoi(given) : 20;
}

// A different picture for every job: black bands whose slant and place follow
// the job's number, on white, in a size that changes too. Each holds some
// fifty to a hundred and forty thousand dots: the machine at this pace
// carves more than ten thousand before a Pause sent with Start reaches it.
samples::RgbPicture pictureFor(int job) {
    const int width = 300 + job % 7 * 30;
    const int height = 250 + job % 5 * 50;
    samples::RgbPicture p{width, height, samples::Bytes(3 * width * height, 255)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x + y * (job % 3 + 1) + job * 7) % 24 < 16) {
                std::fill_n(p.at(x, y), 3, std::uint8_t{0});
            }
        }
    }
    return p;
}

// The picture as a file of one of the formats the console takes in, in turn.
std::filesystem::path writePicture(const std::filesystem::path& folder, int job) {
    using Encoder = samples::Bytes (*)(const samples::RgbPicture&);
    static const std::array<std::pair<const char*, Encoder>, 5> formats{{
        {".bmp", [](const samples::RgbPicture& p) { return samples::writeBmp(p); }},
        {".png", [](const samples::RgbPicture& p) { return samples::writePng(p); }},
        {".jpg", [](const samples::RgbPicture& p) { return samples::writeJpeg(p); }},
        {".tif", [](const samples::RgbPicture& p) { return samples::writeTiff(p); }},
        {".pcx", [](const samples::RgbPicture& p) { return samples::writePcx(p); }},
    }};
    const auto& [extension, encode] = formats[static_cast<std::size_t>(job % 5)];
    const std::filesystem::path file = folder / ("job-" + std::to_string(job) + extension);
    samples::writeFile(file, encode(pictureFor(job)));
    return file;
}

struct Soak : ::testing::Test, test_support::ConsoleRig {
    std::unique_ptr<sim::SimulatedMachine> machine;
    const test_support::MainWindowControls ui{window};
    std::vector<bool> reported = std::vector<bool>(512 * 512); // this job's dots, as told
    long long reports = 0;                                     // this job's, stop bytes too

    // The console's blocking waits are not sat out: the machine at this pace
    // needs none, and two hundred of them would be ten minutes of nothing.
    Soak() : ConsoleRig([](std::chrono::milliseconds) {}) {
        releaseLargeBlocksWhenFreed(); // as the program does before its window
        QObject::connect(&console.features.replyRouting, &ReplyRouting::dotReported,
                         [this](int x, int y) {
                             reported[static_cast<std::size_t>(y * 512 + x)] = true;
                             ++reports;
                         });
    }

    bool connected() const { return ui.ConnectButton->text() == QStringLiteral("Connected"); }

    void connectAtStartUp() {
        machine = std::make_unique<sim::SimulatedMachine>(
            ports, sim::Options{.port = 0, .pace = sim::Pace::Fast, .faults = {}});
        console.runStartUp();
        ASSERT_TRUE(waitUntil([&] { return connected(); }));
    }

    void takeIn(int job) {
        const std::filesystem::path file = writePicture(root, job);
        ASSERT_TRUE(test_support::dropOnPreview(ui, file));
        ASSERT_TRUE(waitUntil([&] { return state.imagePath == file.string(); }));
        std::filesystem::remove(file);
    }

    void uploadAndStartThenPause() {
        ui.SendImageButton->click();
        ASSERT_TRUE(machine->waitForReceived(8 + 32830, 10s)); // erase, then the image
        ASSERT_TRUE(ui.StartButton->isEnabled());
        ui.StartButton->click();
        // Paused once the first dots show, while the machine is mid-job still.
        ASSERT_TRUE(waitUntil([&] { return reports > 0; }));
        ui.PauseButton->click();
        ASSERT_TRUE(waitUntil([&] { return machine->status().job == sim::JobState::Paused; }))
            << "job state " << static_cast<int>(machine->status().job) << ", "
            << machine->status().dotsReported << " dots";
    }

    // With the machine paused, every report it sent has reached the window
    // before the cable goes; Connect then finds it at the same number. The
    // verify answer shows the job's last dot once more.
    void pullTheCableAndConnectAgain(long long reportsBefore) {
        ASSERT_TRUE(
            waitUntil([&] { return reports >= machine->status().dotsReported - reportsBefore; }));
        machine->hangUp();
        ASSERT_TRUE(
            waitUntil([&] { return ui.ConnectButton->text() == QStringLiteral("Connect"); }));
        ASSERT_TRUE(machine->plugIn());
        ui.PortComboBox->setCurrentIndex(machine->portNumber());
        ui.ConnectButton->click();
        ASSERT_TRUE(waitUntil([&] { return connected(); })) << log().right(200).toStdString();
    }

    void openAndCloseTheSettings() {
        bool opened = false;
        test::whenModalOpens<SettingsWindow>([&](SettingsWindow&) { opened = true; });
        QTest::mouseClick(ui.SettingButton, Qt::LeftButton);
        ASSERT_TRUE(opened);
    }

    Dots reportedDots() const {
        Dots dots;
        for (std::size_t at = 0; at < reported.size(); ++at) {
            if (reported[at]) {
                dots.emplace_back(static_cast<int>(at % 512), static_cast<int>(at / 512));
            }
        }
        return dots;
    }

    // What the operator does while the machine waits, then goes on.
    void steerWhilePaused(int job, long long reportsBefore) {
        if (job % 10 == 0) {
            ASSERT_NO_FATAL_FAILURE(pullTheCableAndConnectAgain(reportsBefore));
        }
        if (job % 5 == 0) {
            ASSERT_NO_FATAL_FAILURE(openAndCloseTheSettings());
        }
        if (job % 4 == 0) {
            // Forth and back again: the job goes on at the row it left.
            ui.FastForwardButton->click();
            ui.FastBackwardButton->click();
        }
        (job % 3 == 0 ? ui.RecarveButton : ui.StartButton)->click();
    }

    void runJob(int job) {
        machine->layFreshPiece();
        machine->forget();
        std::fill(reported.begin(), reported.end(), false);
        reports = 0;
        const long long reportsBefore = machine->status().dotsReported;

        ASSERT_NO_FATAL_FAILURE(takeIn(job));
        const Dots prepared = test_support::previewDots(console.features.intake.previewFile());
        ASSERT_NO_FATAL_FAILURE(uploadAndStartThenPause());
        ASSERT_NO_FATAL_FAILURE(steerWhilePaused(job, reportsBefore));
        // The window thread keeps reading meanwhile, or the machine would
        // wait for a full line to drain.
        ASSERT_TRUE(waitUntil([&] { return machine->status().job == sim::JobState::Finished; }));
        ASSERT_TRUE(waitUntil([&] { return !window.runTimeTimer()->isRunning(); }));

        EXPECT_EQ(differences(test_support::burntDots(machine->workPiece()), prepared), "")
            << "burnt, job " << job;
        EXPECT_EQ(differences(reportedDots(), prepared), "") << "reported, job " << job;
        EXPECT_TRUE(messages.empty()) << messages.front().text.toStdString();
    }
};

TEST_F(Soak, ManyJobsBurnTheirPreviewsAndHoldNoMoreThanTheFirst) {
    ASSERT_NO_FATAL_FAILURE(connectAtStartUp());
    const int jobs = jobsToRun();
    Holdings first;
    for (int job = 0; job < jobs; ++job) {
        ASSERT_NO_FATAL_FAILURE(runJob(job));
        if (job == 0) {
            first = holdingsNow();
        }
        if (job == 0 || (job + 1) % 50 == 0 || job + 1 == jobs) {
            std::cout << "after job " << job + 1 << ": " << describe(holdingsNow()) << ", "
                      << ui.LogBox->blockCount() << " lines in the log" << std::endl;
        }
    }
    const Holdings last = holdingsNow();
    RecordProperty("resident_kib_after_first", std::to_string(first.residentKiB));
    RecordProperty("resident_kib_after_last", std::to_string(last.residentKiB));
    EXPECT_EQ(last.descriptors, first.descriptors);
    EXPECT_EQ(last.threads, first.threads);
    EXPECT_LE(last.heapInUseKiB - first.heapInUseKiB, kMemoryGrowthKiB);
    // The sanitizer's allocator keeps freed blocks resident on purpose, to
    // catch late uses; there only the blocks in use can tell a leak.
    if (!kSanitizedAllocator) {
        EXPECT_LE(last.residentKiB - first.residentKiB, kMemoryGrowthKiB);
    }
}

} // namespace
} // namespace vexilon
