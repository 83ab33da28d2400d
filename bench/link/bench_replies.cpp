// Floods the console's own reply handling (the main window, offscreen, with
// the console's wiring) with position reports from the simulated machine at
// full speed through a pseudo-terminal: an all-black image, so every one of
// the 262,144 dots is reported. Prints reports handled per second, the
// repaints of the preview canvas and the peak memory. The line itself
// carries 1,152 reports a second.

#include "app/console.h"
#include "app/program_state.h"
#include "app/window/main_window.h"
#include "link/serial/serial_channel.h"
#include "sim/port/simulated_machine.h"
#include "support/assembled_console.h"
#include "support/window_controls.h"
#include "ui/base/interval_timer.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <vector>

#include <sys/resource.h>
#include <time.h>

namespace {

constexpr long long kDots = 512LL * 512;

std::vector<std::uint8_t> allBlackImage() {
    std::vector<std::uint8_t> data(32830, 0);
    const std::uint8_t header[62] = {
        'B', 'M', 0x3E, 0x80, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0,    0,    0,    2, 0,
        0,   0,   2,    0,    0, 1, 0, 1, 0, 0, 0,  0, 0, 0, 0,  0, 0,    0,    0,    0, 0,
        0,   0,   0,    0,    0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0xFF, 0xFF, 0xFF, 0};
    std::copy(std::begin(header), std::end(header), data.begin());
    return data;
}

// Counts the paint events of the canvas and of the picture view over it.
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    long long paints = 0;
};

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

bool waitFor(const std::function<bool()>& done, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir scratch;
    const std::filesystem::path root = scratch.path().toStdString();
    const vexilon::ConsolePaths paths{root / "config", root / "config" / "Config.ini",
                                      root / "ports", root / "program", root / "dev"};
    std::filesystem::create_directories(paths.portLinkDirectory);

    vexilon::sim::Options options;
    options.port = 1;
    options.pace = vexilon::sim::Pace::Fast;
    vexilon::sim::SimulatedMachine machine(paths.portLinkDirectory, options);

    vexilon::ProgramState state;
    state.carvedColour = 0x000000FF;
    vexilon::MainWindow window;
    vexilon::test_support::AssembledConsole console(window, state, paths,
                                                    [](const QString&, const QString&) {});
    window.show();
    PaintCounter counter;
    vexilon::test_support::controlsOf(window).PreviewCanvas->installEventFilter(&counter);
    vexilon::test_support::controlsOf(window).PreviewPicture->installEventFilter(&counter);

    vexilon::test_support::controlsOf(window).PortComboBox->setCurrentIndex(1);
    vexilon::test_support::controlsOf(window).ConnectButton->click();
    if (!waitFor(
            [&] {
                return vexilon::test_support::controlsOf(window).ConnectButton->text() ==
                       "Connected";
            },
            10)) {
        std::puts("no connection to the simulated machine");
        return 1;
    }
    vexilon::SerialChannel& line = console.port;
    for (int i = 0; i < 8; ++i) {
        line.send(std::uint8_t{254});
    }
    line.send(allBlackImage());
    counter.paints = 0;

    // Carving stopped comes after the last report: once the console has
    // handled it, it has handled every report before it. The loop sleeps
    // whenever the console has nothing to do, so the window thread's CPU
    // time is what the handling cost.
    QEventLoop loop;
    QObject::connect(&line, &vexilon::SerialChannel::dataArrived, &loop, [&](int byte) {
        if (byte == 102) {
            loop.quit();
        }
    });
    QTimer::singleShot(std::chrono::seconds(120), &loop, &QEventLoop::quit);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuSeconds();
    line.send(std::uint8_t{241});
    console.features.clock.startTicking();
    loop.exec();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double windowCpu = threadCpuSeconds() - cpuStart;
    const bool finished = !window.runTimeTimer()->isRunning();
    // The coordinate boxes follow the reports once a screen frame.
    QEventLoop frame;
    QTimer::singleShot(std::chrono::milliseconds(50), &frame, &QEventLoop::quit);
    frame.exec();

    const QImage& ink = vexilon::test_support::controlsOf(window).PreviewCanvas->inkLayer();
    long long painted = 0;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            painted += ink.pixel(x, y) == qRgb(0xFF, 0, 0);
        }
    }
    const long long reported = machine.status().dotsReported;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf("reports: %lld sent, %lld dots painted, boxes %s %s\n", reported, painted,
                qPrintable(vexilon::test_support::controlsOf(window).XCoordBox->text()),
                qPrintable(vexilon::test_support::controlsOf(window).YCoordBox->text()));
    std::printf("seconds: %.3f (window thread busy %.3f s)\n", seconds, windowCpu);
    std::printf("repaints: %lld\n", counter.paints);
    std::printf("peak memory: %ld KiB\n", usage.ru_maxrss);
    const bool whole = finished && reported == kDots && painted == kDots &&
                       vexilon::test_support::controlsOf(window).XCoordBox->text() == "511" &&
                       vexilon::test_support::controlsOf(window).YCoordBox->text() == "511";
    if (!whole) {
        std::puts("incomplete run");
        return 1;
    }
    // The first figure is bounded by how fast the machine sends; the second
    // is what the console alone could take.
    std::printf("rate: %.0f\n", static_cast<double>(reported) / seconds);
    std::printf("capacity: %.0f\n", static_cast<double>(reported) / windowCpu);
    return 0;
}
