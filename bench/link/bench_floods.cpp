// A machine gone wrong floods the console: the whole console (offscreen, with
// its wiring) on a pseudo-terminal whose other end writes one kind of flood as
// fast as the terminal takes it (or at the line rate, for the 101 flood).
// Every 50 ms another thread posts a probe, standing for a click; the figure
// is how long the window thread left it waiting. Prints the worst and the
// median wait, the peak memory, and how long after the flood's end the
// console was idle again.
//   bench_floods random|255|102|far-reports|101 [seconds]

#include "app/console.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "link/serial/serial_channel.h"
#include "support/assembled_console.h"
#include "support/pseudo_terminal.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

// Records, on the window thread, how long each probe waited.
struct Probe : QObject {
    static QEvent::Type type() {
        static const auto t = static_cast<QEvent::Type>(QEvent::registerEventType());
        return t;
    }
    struct Event : QEvent {
        Event() : QEvent(Probe::type()) {}
        Clock::time_point posted = Clock::now();
    };
    bool event(QEvent* e) override {
        if (e->type() != type()) {
            return QObject::event(e);
        }
        const auto waited = Clock::now() - static_cast<Event*>(e)->posted;
        const std::lock_guard lock(mutex);
        waits.push_back(std::chrono::duration<double, std::milli>(waited).count());
        lastHandled = Clock::now();
        return true;
    }
    std::mutex mutex;
    std::vector<double> waits;
    Clock::time_point lastHandled;
};

// One chunk of the flood; the 101 flood is paced by the caller.
std::vector<std::uint8_t> chunkOf(const std::string& kind, std::mt19937& random) {
    std::vector<std::uint8_t> chunk(4000);
    if (kind == "random") {
        std::generate(chunk.begin(), chunk.end(),
                      [&] { return static_cast<std::uint8_t>(random()); });
    } else if (kind == "far-reports") {
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            chunk[i] = i % 5 == 0 ? 255 : 100;
        }
    } else {
        std::fill(chunk.begin(), chunk.end(), static_cast<std::uint8_t>(std::stoi(kind)));
    }
    return chunk;
}

void flood(const vexilon::test_support::PseudoTerminal& line, const std::string& kind,
           std::chrono::seconds length) {
    std::mt19937 random(1);
    const auto end = Clock::now() + length;
    const bool paced = kind == "101";
    while (Clock::now() < end) {
        auto chunk = chunkOf(kind, random);
        if (paced) {
            chunk.resize(58); // 5,760 bytes a second in 10 ms steps
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        line.write(chunk);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::puts("usage: bench_floods random|255|102|far-reports|101 [seconds]");
        return 2;
    }
    const std::string kind = argv[1];
    const std::chrono::seconds length(argc > 2 ? std::stoi(argv[2]) : 10);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir scratch;
    const std::filesystem::path root = scratch.path().toStdString();
    const vexilon::ConsolePaths paths{root / "config", root / "config" / "Config.ini",
                                      root / "ports", root / "program", root / "dev"};
    vexilon::test_support::PseudoTerminal line(paths.portLinkDirectory, 1);
    vexilon::ProgramState state;
    vexilon::MainWindow window;
    vexilon::test_support::AssembledConsole console(window, state, paths,
                                                    [](const QString&, const QString&) {});
    window.show();
    console.port.setPortNumber(1);
    if (!console.port.open()) {
        std::puts("the console could not open the line");
        return 1;
    }
    console.features.clock.startTicking(); // mid-job

    Probe probe;
    std::atomic<bool> flooding = true;
    std::atomic<bool> stop = false;
    Clock::time_point floodEnded;
    std::thread machine([&] {
        flood(line, kind, length);
        floodEnded = Clock::now();
        flooding = false;
    });
    std::thread clicks([&] {
        while (!stop) {
            QCoreApplication::postEvent(&probe, new Probe::Event);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    // Until the flood is over and the backlog handled: the console idle for
    // a second, or a minute at most after the flood.
    const auto idle = [&] { return !flooding && console.port.pendingEventCount() == 0; };
    Clock::time_point idleSince;
    while (true) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!idle()) {
            idleSince = {};
        } else if (idleSince == Clock::time_point{}) {
            idleSince = Clock::now();
        }
        if ((idleSince != Clock::time_point{} &&
             Clock::now() - idleSince > std::chrono::seconds(1)) ||
            (!flooding && Clock::now() - floodEnded > std::chrono::minutes(1))) {
            break;
        }
    }
    stop = true;
    clicks.join();
    machine.join();

    std::vector<double> waits;
    {
        const std::lock_guard lock(probe.mutex);
        waits = probe.waits;
    }
    std::sort(waits.begin(), waits.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double after = std::chrono::duration<double>(idleSince - floodEnded).count();
    std::printf("flood %s for %lld s: clicks waited at most %.0f ms (median %.1f ms, %zu clicks); "
                "peak memory %ld MiB; idle %.1f s after the flood ended\n",
                kind.c_str(), static_cast<long long>(length.count()),
                waits.empty() ? 0.0 : waits.back(), waits.empty() ? 0.0 : waits[waits.size() / 2],
                waits.size(), usage.ru_maxrss / 1024, std::max(0.0, after));
    return 0;
}
