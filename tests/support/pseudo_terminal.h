#pragma once

#include <array>
#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace vexilon::test_support {

// A pseudo-terminal standing in for a serial port: its slave is linked as
// "COM<n>" in a port-link directory, the test keeps only the master (the
// machine's end of the line), whose termios calls reach the slave.
class PseudoTerminal {
public:
    PseudoTerminal(const std::filesystem::path& linkDirectory, int portNumber) {
        std::array<char, 128> name{};
        int slave = -1;
        if (openpty(&master_, &slave, name.data(), nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        ::close(slave);
        slavePath_ = name.data();
        std::filesystem::create_directories(linkDirectory);
        std::filesystem::create_symlink(slavePath_,
                                        linkDirectory / ("COM" + std::to_string(portNumber)));
    }
    ~PseudoTerminal() { hangUp(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return master_; }
    const std::filesystem::path& slavePath() const { return slavePath_; }

    // Closes the machine's end: the console's side sees a hang-up.
    void hangUp() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

    void write(std::string_view text) const {
        while (!text.empty()) {
            const ssize_t n = ::write(master_, text.data(), text.size());
            if (n < 0 && errno != EINTR) {
                throw std::runtime_error("write to the pseudo-terminal failed");
            }
            text.remove_prefix(n > 0 ? static_cast<std::size_t>(n) : 0);
        }
    }
    void write(const std::vector<std::uint8_t>& bytes) const {
        write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

    // Reads until `count` bytes came or none came for `quietMs`.
    std::vector<std::uint8_t> read(std::size_t count, int quietMs = 10000) const {
        std::vector<std::uint8_t> got(count);
        std::size_t have = 0;
        for (pollfd fd{master_, POLLIN, 0}; have < count && poll(&fd, 1, quietMs) > 0;) {
            const ssize_t n = ::read(master_, got.data() + have, count - have);
            if (n <= 0) {
                break;
            }
            have += static_cast<std::size_t>(n);
        }
        got.resize(have);
        return got;
    }

private:
    int master_ = -1;
    std::filesystem::path slavePath_;
};

} // namespace vexilon::test_support
