#include "sim/port/simulated_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include <png.h>
#include <poll.h>

#include "console_end.h"
#include "sim_test_image.h"

namespace vexilon::sim {
namespace {

namespace fs = std::filesystem;
using test::ConsoleEnd;
using test::ScratchDirectory;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

TEST(SimulatedMachine, TakesTheFirstFreeNumberAndAnswersVerifyAfterEachReopen) {
    ScratchDirectory links;
    fs::create_symlink("/dev/null", links.path() / "COM1");
    fs::create_symlink("/dev/pts/999999", links.path() / "COM2"); // a dead machine's link
    {
        SimulatedMachine machine(links.path(), Options{.faults = {}, .versionReport = true});
        EXPECT_EQ(machine.linkPath(), links.path() / "COM2");
        for (int round = 0; round < 2; ++round) {
            ConsoleEnd console(machine.linkPath());
            ASSERT_TRUE(console.open());
            console.send({246});
            EXPECT_EQ(console.read(2), (Bytes{101, 110})) << "round " << round;
        }
        EXPECT_EQ(machine.received(), (Bytes{246, 246}));
        EXPECT_TRUE(machine.waitForReceived(2, 0ms));
        EXPECT_FALSE(machine.waitForReceived(3, 10ms));
    }
    // Its own link goes with the machine, the user's stays.
    EXPECT_FALSE(fs::exists(fs::symlink_status(links.path() / "COM2")));
    EXPECT_TRUE(fs::is_symlink(links.path() / "COM1"));
}

TEST(SimulatedMachine, FloodsAWholeJobAtFullSpeed) {
    ScratchDirectory links;
    SimulatedMachine machine(links.path());
    ConsoleEnd console(machine.linkPath());
    ASSERT_TRUE(console.open());
    DotImage image;
    Bytes expected;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 512; ++x) {
            image.setDot(x, y, true);
            expected.insert(expected.end(),
                            {255, static_cast<std::uint8_t>(x / 100),
                             static_cast<std::uint8_t>(x % 100), 0, static_cast<std::uint8_t>(y)});
        }
    }
    expected.push_back(102);
    machine.carve(image);

    const Bytes got = console.read(expected.size());
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected); // none lost, none twice, none out of order
    EXPECT_TRUE(machine.waitFor([](const Status& s) { return s.job == JobState::Finished; }, 1s));
    EXPECT_EQ(machine.workPiece().burntCount(), 512 * 64);
}

TEST(SimulatedMachine, HangsUpMidJobAndTheConsoleSeesIt) {
    ScratchDirectory links;
    SimulatedMachine machine(links.path(), Options{.faults = {.hangUpAfterDots = 100}});
    ConsoleEnd console(machine.linkPath());
    ASSERT_TRUE(console.open());
    std::vector<std::pair<int, int>> dots;
    for (int x = 0; x < 300; ++x) {
        dots.emplace_back(x, 9);
    }
    console.send(Bytes(8, 254));
    console.send(test::imageData(dots));
    ASSERT_TRUE(machine.waitFor([](const Status& s) { return s.hasImage; }, 10s));
    console.send({241});

    bool hungUp = false;
    EXPECT_EQ(console.read(100 * 5 + 1, &hungUp).size(), 100u * 5);
    EXPECT_TRUE(hungUp);
    EXPECT_TRUE(machine.status().hungUp);
    EXPECT_EQ(machine.workPiece().burntCount(), 100);
    // The cable is out: the port is gone.
    EXPECT_FALSE(fs::exists(fs::symlink_status(machine.linkPath())));
    EXPECT_FALSE(ConsoleEnd(machine.linkPath()).open());

    // Back in, the machine is as it was and answers at the same number.
    ASSERT_TRUE(machine.plugIn());
    ConsoleEnd again(machine.linkPath());
    ASSERT_TRUE(again.open());
    again.send({246});
    EXPECT_FALSE(again.read(1).empty());
    EXPECT_TRUE(machine.waitFor(
        [](const Status& s) { return s.job == JobState::Finished && s.dotsReported == 300; }, 10s));
    EXPECT_FALSE(machine.status().hungUp);

    // A hang-up asked for by a test is done when the call returns.
    machine.hangUp();
    EXPECT_TRUE(machine.status().hungUp);
    pollfd fd{again.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&fd, 1, 5000), 1);
    EXPECT_TRUE(fd.revents & POLLHUP);
}

TEST(SimulatedMachine, WritesTheWorkPieceAsAGreyPng) {
    WorkPiece piece;
    piece.burn(3, 4, 240);
    piece.burn(5, 4, 1);
    ScratchDirectory files;
    const fs::path file = files.path() / "piece.png";
    ASSERT_TRUE(piece.writePng(file));
    EXPECT_FALSE(piece.writePng(files.path() / "missing" / "piece.png"));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str()));
    image.format = PNG_FORMAT_GRAY;
    ASSERT_EQ(image.width, 512u);
    ASSERT_EQ(image.height, 512u);
    std::vector<std::uint8_t> grey(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr));
    EXPECT_EQ(grey[4 * 512 + 3], 0);   // longest burn: black
    EXPECT_EQ(grey[4 * 512 + 5], 192); // shortest burn: still seen
    EXPECT_EQ(grey[4 * 512 + 4], 255); // untouched
}

} // namespace
} // namespace vexilon::sim
