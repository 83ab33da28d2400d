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
    if (openpty(&master, &slave, name.data(), nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    ::close(slave);
    std::filesystem::create_symlink(name.data(), linkDirectory / ("COM" + std::to_string(number)));
}

void PtyPort::write(std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t n = ::write(master, bytes.data(), bytes.size());
        if (n < 0 && errno != EINTR) {
            throw std::runtime_error("write to the pseudo-terminal failed");
        }
        bytes.remove_prefix(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
}

std::vector<std::uint8_t> PtyPort::read(std::size_t count, std::chrono::milliseconds limit) const {
    std::vector<std::uint8_t> got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::array<std::uint8_t, 4096> buffer;
    while (got.size() < count) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{master, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(std::max<long>(left.count(), 0))) <= 0) {
            break;
        }
        const ssize_t n =
            ::read(master, buffer.data(), std::min(buffer.size(), count - got.size()));
        if (n <= 0) {
            break;
        }
        got.insert(got.end(), buffer.begin(), buffer.begin() + n);
    }
    return got;
}

void PtyPort::hangUp() {
    if (master >= 0) {
        ::close(master);
        master = -1;
    }
}

} // namespace vexilon::test
