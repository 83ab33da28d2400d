// Pushes bytes from the machine's end of a pseudo-terminal through the serial
// channel to the window thread, one dataArrived event each, and prints the
// median rate of several runs. The line itself carries 5,760 bytes a second.

#include "link/serial/serial_channel.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include <pty.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBytes = 1000000;
constexpr int kRuns = 7;

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Bytes per second of one run; 0 when bytes went missing or out of order.
double oneRun(vexilon::SerialChannel& channel, int master, const std::vector<std::uint8_t>& data) {
    std::size_t count = 0;
    std::size_t wrong = 0;
    QEventLoop loop;
    const auto connection =
        QObject::connect(&channel, &vexilon::SerialChannel::dataArrived, [&](int byte) {
            wrong += count >= data.size() || byte != data[count];
            if (++count == data.size()) {
                loop.quit();
            }
        });
    QTimer::singleShot(std::chrono::seconds(60), &loop, &QEventLoop::quit);

    const auto start = std::chrono::steady_clock::now();
    std::thread writer([&] { writeAll(master, data); });
    loop.exec();
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    writer.join();
    QObject::disconnect(connection);
    if (count != data.size() || wrong != 0) {
        std::fprintf(stderr, "run lost or reordered bytes: %zu raised, %zu wrong\n", count, wrong);
        return 0;
    }
    return static_cast<double>(data.size()) / seconds;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    int master = -1;
    int slave = -1;
    char name[128] = {};
    if (!dir.isValid() || openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    ::close(slave);
    const std::filesystem::path links = dir.path().toStdString();
    std::filesystem::create_symlink(name, links / "COM1");

    vexilon::SerialChannel channel(links);
    if (!channel.open()) {
        std::fprintf(stderr, "the channel did not open %s\n", name);
        return 1;
    }

    std::vector<std::uint8_t> data(kBytes);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i % 251);
    }
    std::vector<double> rates;
    for (int run = 0; run < kRuns; ++run) {
        rates.push_back(oneRun(channel, master, data));
        std::printf("run %d: %.0f bytes/s\n", run + 1, rates.back());
    }
    channel.close();
    ::close(master);

    std::sort(rates.begin(), rates.end());
    std::printf("median: %.0f bytes/s over %d runs of %zu bytes\n", rates[rates.size() / 2], kRuns,
                kBytes);
    return rates.front() > 0 ? 0 : 1;
}
