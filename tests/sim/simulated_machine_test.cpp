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

#include "sim_test_image.h"

namespace vexilon::sim {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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

} // namespace
} // namespace vexilon::sim
