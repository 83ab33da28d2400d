#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vexilon::sim::test {

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sim-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDirectory() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The console's end of the line, opened the way the console opens a port.
class ConsoleEnd {
public:
    explicit ConsoleEnd(const std::filesystem::path& port)
        : fd_(::open(port.c_str(), O_RDWR | O_NOCTTY)) {
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
    ConsoleEnd(const ConsoleEnd&) = delete;
    ConsoleEnd& operator=(const ConsoleEnd&) = delete;

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
        std::vector<std::uint8_t> got(count);
        std::size_t have = 0;
        for (pollfd fd{fd_, POLLIN, 0}; have<count&& ::poll(&fd, 1, 5000)> 0;) {
            const ssize_t n = ::read(fd_, got.data() + have, count - have);
            if (n <= 0) {
                if (hungUp) {
                    *hungUp = true;
                }
                break;
            }
            have += static_cast<std::size_t>(n);
        }
        got.resize(have);
        return got;
    }

private:
    int fd_;
};

} // namespace vexilon::sim::test
