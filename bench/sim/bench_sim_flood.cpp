// How fast the simulated machine delivers position reports through a
// pseudo-terminal to a reader that does nothing else: at full speed (what a
// flood of the console can get at most) and at the line rate (what a real
// machine sends, 1,152 reports a second), and how long the machine takes to
// read an upload at the line rate (5,760 bytes a second).

#include "sim/port/simulated_machine.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace vexilon::sim;
using Clock = std::chrono::steady_clock;

int openPort(const fs::path& link) {
    const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    if (fd >= 0) {
        termios raw{};
        ::tcgetattr(fd, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

// Reads until carving stopped comes after `reports` reports, or for
// `limit`; returns the reports read (bytes / 5) and the seconds taken.
std::pair<long long, double> drain(int fd, long long reports, std::chrono::seconds limit) {
    std::array<std::uint8_t, 1 << 16> buffer{};
    long long bytes = 0;
    const auto start = Clock::now();
    const long long all = reports * 5 + 1;
    while (bytes < all && Clock::now() - start < limit) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            continue;
        }
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n <= 0) {
            break;
        }
        bytes += n;
    }
    return {bytes / 5, std::chrono::duration<double>(Clock::now() - start).count()};
}

DotImage blackRows(int rows) {
    DotImage image;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < DotImage::kSide; ++x) {
            image.setDot(x, y, true);
        }
    }
    return image;
}

} // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "sim-bench-XXXXXX").string();
    const fs::path scratch = ::mkdtemp(pattern.data());
    int status = 0;
    {
        Options fast;
        fast.pace = Pace::Fast;
        SimulatedMachine machine(scratch, fast);
        const int fd = openPort(machine.linkPath());
        machine.carve(blackRows(DotImage::kSide));
        const auto [reports, seconds] = drain(fd, 512LL * 512, std::chrono::seconds(120));
        ::close(fd);
        std::printf("full speed: %lld reports in %.3f s\n", reports, seconds);
        std::printf("fast: %.0f\n", static_cast<double>(reports) / seconds);
        status |= reports == 512LL * 512 ? 0 : 1;
    }
    {
        Options line;
        line.pace = Pace::LineRate;
        SimulatedMachine machine(scratch, line);
        const int fd = openPort(machine.linkPath());
        machine.carve(blackRows(DotImage::kSide));
        const auto [reports, seconds] = drain(fd, 512LL * 512, std::chrono::seconds(3));
        ::close(fd);
        std::printf("line rate: %lld reports in %.3f s\n", reports, seconds);
        std::printf("line: %.0f\n", static_cast<double>(reports) / seconds);
    }
    {
        // The console's upload, read by the machine at the line rate.
        Options line;
        line.pace = Pace::LineRate;
        SimulatedMachine machine(scratch, line);
        const int fd = openPort(machine.linkPath());
        std::vector<std::uint8_t> upload(8, 254);
        upload.resize(8 + 32830, 0xFF);
        // Header and palette; every pixel white.
        const std::uint8_t header[62] = {'B', 'M', 0x3E, 0x80, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40,
                                         0,   0,   0,    0,    2, 0, 0, 0, 2, 0, 0,  1, 0, 1, 0};
        std::copy(std::begin(header), std::end(header), upload.begin() + 8);
        std::fill(upload.begin() + 8 + 58, upload.begin() + 8 + 61, 0xFF);
        const auto start = Clock::now();
        std::thread writer([&] {
            for (std::size_t done = 0; done < upload.size();) {
                const ssize_t n = ::write(fd, upload.data() + done, upload.size() - done);
                done += n > 0 ? static_cast<std::size_t>(n) : 0;
            }
        });
        const bool taken =
            machine.waitFor([](const Status& s) { return s.hasImage; }, std::chrono::seconds(30));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        writer.join();
        ::close(fd);
        std::printf("upload: %zu bytes in %.3f s\n", upload.size(), seconds);
        std::printf("upload rate: %.0f\n", static_cast<double>(upload.size()) / seconds);
        status |= taken ? 0 : 1;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %ld KiB\n", usage.ru_maxrss);
    fs::remove_all(scratch);
    return status;
}
