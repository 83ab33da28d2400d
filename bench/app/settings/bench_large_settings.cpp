// A settings file grown to 100 MB (by another program, or by hand): how long
// the console's settings operations take on it, and the peak memory against
// the file's size. The console's own items stand at the end, after the rest,
// so every lookup crosses the whole file.
//   bench_large_settings [megabytes]   (default 100)

#include "app/settings/settings_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

using vexilon::readSettingsItem;
using vexilon::writeSettingsItem;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Notes the user keeps in the file, then the console's own items.
void writeLargeFile(const std::filesystem::path& file, long megabytes) {
    std::ofstream out(file, std::ios::binary);
    out << "[Notes]\r\n";
    const std::string value(40, 'x');
    for (long i = 0; static_cast<long>(out.tellp()) < megabytes * 1000000; ++i) {
        out << "Note" << i << "=" << value << "\r\n";
    }
    out << "[Setting]\r\nColor=255\r\nMotor=35\r\n[MainWindow]\r\nBurning_time=60\r\n";
}

} // namespace

int main(int argc, char* argv[]) {
    const long megabytes = argc > 1 ? std::atol(argv[1]) : 100;
    char pattern[] = "/tmp/large-settings-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    const std::filesystem::path file = dir / "Config.ini";
    writeLargeFile(file, megabytes);
    const auto size = std::filesystem::file_size(file);
    const long before = peakKiB();

    auto start = Clock::now();
    const bool read = readSettingsItem(file, "Setting", "Color", "") == "255" &&
                      readSettingsItem(file, "Setting", "Motor", "") == "35" &&
                      readSettingsItem(file, "MainWindow", "Burning_time", "") == "60";
    const double opening = millisecondsSince(start);
    start = Clock::now();
    const bool saved = writeSettingsItem(file, "Setting", "Motor", "40");
    const double saving = millisecondsSince(start);
    start = Clock::now();
    const bool closed = writeSettingsItem(file, "MainWindow", "Burning_time", "75");
    const double closing = millisecondsSince(start);

    std::string after = readAll(file);
    const bool kept =
        after.size() == size &&
        after.ends_with("Color=255\r\nMotor=40\r\n[MainWindow]\r\nBurning_time=75\r\n");
    std::filesystem::remove_all(dir);
    std::printf("file: %.0f MB\n", static_cast<double>(size) / 1e6);
    std::printf("three reads (the settings window opening): %.0f ms\n", opening);
    std::printf("a write (Save): %.0f ms\n", saving);
    std::printf("the burning time written (closing): %.0f ms\n", closing);
    std::printf("peak memory above the start: %.0f MB (%.2f x the file)\n",
                static_cast<double>(peakKiB() - before) * 1024 / 1e6,
                static_cast<double>(peakKiB() - before) * 1024 / static_cast<double>(size));
    std::printf("values right and other bytes kept: %s\n",
                read && saved && closed && kept ? "yes" : "NO");
    return read && saved && closed && kept ? 0 : 1;
}
