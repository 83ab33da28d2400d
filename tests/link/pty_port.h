#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include <termios.h>

namespace vexilon::test {

// A pseudo-terminal whose slave is linked as <linkDirectory>/COM<number>. The
// test keeps only the master, the machine's end of the line; the channel
// opens the slave through the link.
class PtyPort {
public:
    PtyPort(const std::filesystem::path& linkDirectory, int number);
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    int master() const { return master_; }

    void write(std::span<const std::uint8_t> bytes);
    void write(std::string_view text);

    // Reads until `count` bytes came or `limit` passed.
    std::vector<std::uint8_t> read(std::size_t count,
                                   std::chrono::milliseconds limit = std::chrono::seconds(10));

    // True when a byte is waiting for the machine right now.
    bool hasInput() const;

    // The slave's line settings (the master's termios calls reach them).
    termios settings() const;
    void setSettings(const termios& settings);

    // The machine goes away: the master is closed.
    void hangUp();

private:
    int master_ = -1;
};

} // namespace vexilon::test
