#include "sim/port/simulated_machine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <png.h>

#include "sim_test_image.h"

namespace vexilon::sim {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "sim-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDirectory() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The console's end of the line, opened the way the console opens a port.
class ConsoleEnd {
public:
    explicit ConsoleEnd(const fs::path& port) : fd_(::open(port.c_str(), O_RDWR | O_NOCTTY)) {
        if (fd_ >= 0) {
            termios raw{};
            ::tcgetattr(fd_, &raw);
            ::cfmakeraw(&raw);
            ::tcsetattr(fd_, TCSANOW, &raw);
            ::ioctl(fd_, TIOCEXCL);
        }
    }
    ~ConsoleEnd() {
        if (fd_ >= 0) {
            ::ioctl(fd_, TIOCNXCL);
            ::close(fd_);
        }
    }
    bool open() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    void send(const std::vector<std::uint8_t>& bytes) const {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            ASSERT_GT(n, 0);
            done += static_cast<std::size_t>(n);
        }
    }
    // Reads until `count` bytes came, the line hung up, or nothing came for 5 s.
    std::vector<std::uint8_t> read(std::size_t count, bool* hungUp = nullptr) const {
        std::vector<std::uint8_t> got;
        std::array<std::uint8_t, 4096> buffer{};
        while (got.size() < count) {
            pollfd fd{fd_, POLLIN, 0};
            if (::poll(&fd, 1, 5000) <= 0) {
                break;
            }
            const ssize_t n =
                ::read(fd_, buffer.data(), std::min(buffer.size(), count - got.size()));
            if (n <= 0) {
                if (hungUp) {
                    *hungUp = true;
                }
                break;
            }
            got.insert(got.end(), buffer.begin(), buffer.begin() + n);
        }
        return got;
    }

private:
    int fd_;
};

TEST(SimulatedMachine, TakesTheFirstFreeNumberAndAnswersVerifyOverTheLine) {
    ScratchDirectory links;
    fs::create_symlink("/dev/null", links.path() / "COM1");
    fs::create_symlink("/dev/pts/999999", links.path() / "COM2"); // a dead machine's link
    Options options;
    options.versionReport = true;
    {
        SimulatedMachine machine(links.path(), options);
        EXPECT_EQ(machine.portNumber(), 2);
        EXPECT_EQ(machine.linkPath(), links.path() / "COM2");

        ConsoleEnd console(machine.linkPath());
        ASSERT_TRUE(console.open());
        console.send({246});
        EXPECT_EQ(console.read(2), (std::vector<std::uint8_t>{101, 110}));
        EXPECT_EQ(machine.received(), std::vector<std::uint8_t>{246});
        EXPECT_TRUE(machine.waitForReceived(1, 0ms));
        EXPECT_FALSE(machine.waitForReceived(2, 10ms));
    }
    // Its own link goes with the machine, the user's stays.
    EXPECT_FALSE(fs::exists(fs::symlink_status(links.path() / "COM2")));
    EXPECT_TRUE(fs::is_symlink(links.path() / "COM1"));
}

TEST(SimulatedMachine, AnswersAgainAfterTheConsoleClosedAndReopenedThePort) {
    ScratchDirectory links;
    Options options;
    options.port = 7;
    SimulatedMachine machine(links.path(), options);
    EXPECT_EQ(machine.linkPath(), links.path() / "COM7");
    for (int round = 0; round < 2; ++round) {
        ConsoleEnd console(machine.linkPath());
        ASSERT_TRUE(console.open());
        console.send({246});
        EXPECT_EQ(console.read(1), Bytes{101}) << "round " << round;
    }
    EXPECT_EQ(machine.received(), (Bytes{246, 246}));
}

TEST(SimulatedMachine, FloodsAWholeJobAtFullSpeed) {
    std::vector<std::pair<int, int>> dots;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 512; ++x) {
            dots.emplace_back(x, y);
        }
    }
    ScratchDirectory links;
    SimulatedMachine machine(links.path());
    ConsoleEnd console(machine.linkPath());
    ASSERT_TRUE(console.open());
    DotImage image;
    for (const auto& [x, y] : dots) {
        image.setDot(x, y, true);
    }
    machine.carve(image);

    const Bytes got = console.read(dots.size() * 5 + 1);
    ASSERT_EQ(got.size(), dots.size() * 5 + 1);
    for (std::size_t i = 0; i < dots.size(); ++i) {
        const auto [x, y] = dots[i];
        const Bytes expected{255, static_cast<std::uint8_t>(x / 100),
                             static_cast<std::uint8_t>(x % 100), 0, static_cast<std::uint8_t>(y)};
        ASSERT_EQ(Bytes(got.begin() + static_cast<long>(i * 5),
                        got.begin() + static_cast<long>(i * 5 + 5)),
                  expected)
            << "report " << i;
    }
    EXPECT_EQ(got.back(), 102);
    EXPECT_TRUE(machine.waitFor([](const Status& s) { return s.job == JobState::Finished; }, 1s));

    const WorkPiece piece = machine.workPiece();
    EXPECT_EQ(piece.burntCount(), static_cast<long long>(dots.size()));
    EXPECT_TRUE(piece.burnt(511, 63));
    EXPECT_FALSE(piece.burnt(0, 64));
}

TEST(SimulatedMachine, HangsUpMidJobAndTheConsoleSeesIt) {
    ScratchDirectory links;
    Options options;
    options.faults.hangUpAfterDots = 100;
    SimulatedMachine machine(links.path(), options);
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
    EXPECT_FALSE(machine.status().hungUp);
    ConsoleEnd again(machine.linkPath());
    ASSERT_TRUE(again.open());
    again.send({246});
    const Bytes afterPlugIn = again.read(1);
    ASSERT_FALSE(afterPlugIn.empty());
    EXPECT_TRUE(machine.waitFor(
        [](const Status& s) { return s.job == JobState::Finished && s.dotsReported == 300; }, 10s));
    EXPECT_FALSE(machine.status().hungUp);

    // A hang-up asked for by a test is done when the call returns.
    SimulatedMachine other(links.path());
    ConsoleEnd otherConsole(other.linkPath());
    ASSERT_TRUE(otherConsole.open());
    other.hangUp();
    EXPECT_TRUE(other.status().hungUp);
    pollfd fd{otherConsole.fd(), POLLIN, 0};
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
