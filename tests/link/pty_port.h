#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace vexilon::test {

// A pseudo-terminal whose slave is linked as <linkDirectory>/COM<number>. The
// test keeps only the master, the machine's end of the line; its termios calls
// reach the slave's settings.
struct PtyPort {
    PtyPort(const std::filesystem::path& linkDirectory, int number);
    ~PtyPort() { hangUp(); }
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    void write(std::string_view bytes) const;
    // Reads until `count` bytes came or `limit` passed.
    std::vector<std::uint8_t>
    read(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    void hangUp(); // the machine goes away

    int master = -1;
};

} // namespace vexilon::test
