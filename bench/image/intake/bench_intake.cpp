// Driver for bench/image/intake/run.sh: one whole intake of a picture file by
// the console itself (main window and wiring, offscreen), as a drop would
// run it. Prints "<seconds> <KiB>": the intake's wall time and its peak
// memory beyond what the idle console held before it.
//   bench_intake <picture> <scratch directory>
#include "app/console.h"
#include "app/program_state.h"
#include "app/settings/console_paths.h"
#include "app/window/main_window.h"
#include "image/pipeline/prepared_image.h"
#include "support/assembled_console.h"
#include "support/process_status.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// From here on the peak counts from the present resident size.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <picture> <scratch directory>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path scratch = argv[2];
    const vexilon::ConsolePaths paths{scratch / "config", scratch / "config" / "Config.ini",
                                      scratch / "config" / "ports", scratch};
    std::filesystem::create_directories(scratch);

    vexilon::ProgramState state;
    vexilon::MainWindow window;
    vexilon::test_support::AssembledConsole console(window, state, paths);
    window.show();
    QCoreApplication::processEvents();

    const long idle = vexilon::test_support::processStatusField("VmRSS");
    if (!resetPeak()) {
        std::fprintf(stderr, "cannot reset the peak resident size\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    console.features.intake.takeIn(std::string(argv[1]));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const long peak = vexilon::test_support::processStatusField("VmHWM");

    if (std::filesystem::file_size(paths.programDirectory / vexilon::kPreviewFileName) !=
        vexilon::kPreparedFileSize) {
        std::fprintf(stderr, "no prepared image\n");
        return 1;
    }
    std::printf("%.4f %ld\n", took.count(), peak - idle);
    return 0;
}
