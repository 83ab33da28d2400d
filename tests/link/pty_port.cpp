#include "pty_port.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>
#include <string>

#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace vexilon::test {

PtyPort::PtyPort(const std::filesystem::path& linkDirectory, int number) {
    int slave = -1;
    std::array<char, 128> name{};
    if (openpty(&master_, &slave, name.data(), nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    ::close(slave);
    std::filesystem::create_symlink(name.data(), linkDirectory / ("COM" + std::to_string(number)));
}

PtyPort::~PtyPort() {
    hangUp();
}

void PtyPort::write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            throw std::runtime_error("write to the pseudo-terminal failed");
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

void PtyPort::write(std::string_view text) {
    write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<std::uint8_t> PtyPort::read(std::size_t count, std::chrono::milliseconds limit) {
    std::vector<std::uint8_t> got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{master_, POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        std::uint8_t buffer[4096];
        const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) {
            break;
        }
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

bool PtyPort::hasInput() const {
    pollfd fd{master_, POLLIN, 0};
    return poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);
}

termios PtyPort::settings() const {
    termios t{};
    tcgetattr(master_, &t);
    return t;
}

void PtyPort::setSettings(const termios& settings) {
    tcsetattr(master_, TCSANOW, &settings);
}

void PtyPort::hangUp() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

} // namespace vexilon::test
