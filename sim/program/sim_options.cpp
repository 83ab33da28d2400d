#include "sim/program/sim_options.h"

#include <charconv>
#include <cstdlib>
#include <optional>

namespace vexilon::sim {
namespace {

std::optional<long long> wholeNumber(const std::string& text, long long least) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < least) {
        return std::nullopt;
    }
    return value;
}

std::filesystem::path xdgBase(const char* variable, const char* fallbackBelowHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = (home && home[0]) ? home : "/tmp";
    return base / fallbackBelowHome;
}

} // namespace

ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    options.machine.pace = Pace::LineRate;
    options.machine.logLevel = LogLevel::Normal;
    for (std::size_t i = 0; i < arguments.size() && options.error.empty(); ++i) {
        const std::string& name = arguments[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                options.error = name + " needs a value";
                return std::nullopt;
            }
            return arguments[++i];
        };
        const auto number = [&](long long least) -> std::optional<long long> {
            const auto text = value();
            if (!text) {
                return std::nullopt;
            }
            const auto parsed = wholeNumber(*text, least);
            if (!parsed) {
                options.error = name + " takes a whole number from " + std::to_string(least) +
                                ", not \"" + *text + "\"";
            }
            return parsed;
        };
        if (name == "-h" || name == "--help") {
            options.help = true;
        } else if (name == "--port") {
            if (const auto port = number(1); port && *port <= 9999) {
                options.machine.port = static_cast<int>(*port);
            } else if (port) {
                options.error = "--port takes a number from 1 to 9999";
            }
        } else if (name == "--pace") {
            const auto pace = value();
            if (pace == "line") {
                options.machine.pace = Pace::LineRate;
            } else if (pace == "fast") {
                options.machine.pace = Pace::Fast;
            } else if (pace) {
                options.error = "--pace is line or fast, not \"" + *pace + "\"";
            }
        } else if (name == "--no-verify") {
            options.machine.faults.neverAnswerVerify = true;
        } else if (name == "--late-verify") {
            options.machine.faults.lateVerify = true;
        } else if (name == "--noise") {
            if (const auto every = number(1)) {
                options.machine.faults.noiseEvery = static_cast<int>(std::min(*every, 1LL << 30));
            }
        } else if (name == "--hang-up-after") {
            if (const auto dots = number(1)) {
                options.machine.faults.hangUpAfterDots = *dots;
            }
        } else if (name == "--version-report") {
            options.machine.versionReport = true;
        } else if (name == "--work-piece") {
            if (const auto path = value()) {
                options.workPiecePng = *path;
            }
        } else if (name == "--ports") {
            if (const auto path = value()) {
                options.linkDirectory = *path;
            }
        } else if (name == "-q" || name == "--quiet") {
            options.machine.logLevel = LogLevel::Quiet;
        } else if (name == "-v" || name == "--verbose") {
            options.machine.logLevel = LogLevel::Verbose;
        } else {
            options.error = "unknown option \"" + name + "\" (see --help)";
        }
    }
    return options;
}

std::string programHelp() {
    return R"(Usage: vexilon-sim [options]

Plays the engraving machine on a pseudo-terminal that it links as COM<n> in
the console's port folder ($XDG_CONFIG_HOME/Vexilon/ports, or
~/.config/Vexilon/ports), so that the console finds it like a machine on a
USB cable. It answers the verification, takes the uploaded image, carves it
dot by dot with position reports when started, and obeys pause, restart,
recarve, the 15-row skips, jogs, origin, middle, carving area, motor reverse,
step pause and burning time. The link goes when the program ends.

Port and pace:
  --port N             take COM N (default: the lowest number no link and no
                       USB serial device holds)
  --pace line|fast     line: the real 57,600-baud line, 1,152 dots a second
                       (default); fast: as fast as the console reads
  --ports DIR          link the port in DIR instead of the console's folder

Faults:
  --no-verify          never answer the verify request
  --late-verify        answer the verify request 1.5 s late
  --noise N            a meaningless byte after every N-th position report
  --hang-up-after N    pull the cable after the N-th dot of a job; it goes
                       back in 3 s later, the machine as it was

Output:
  --version-report     follow verify OK with the version report
  --work-piece FILE    where the burnt work piece is written as a PNG, on
                       SIGUSR1 and when the program ends (default:
                       $XDG_CACHE_HOME/Vexilon/work-piece.png, or
                       ~/.cache/Vexilon/work-piece.png)
  -q, --quiet          log nothing but errors on standard error
  -v, --verbose        log every dot, not only the commands
  -h, --help           show this help

Stop it with Ctrl+C (SIGINT) or SIGTERM.
)";
}

std::filesystem::path consolePortDirectory() {
    return xdgBase("XDG_CONFIG_HOME", ".config") / "Vexilon" / "ports";
}

std::filesystem::path defaultWorkPiecePng() {
    return xdgBase("XDG_CACHE_HOME", ".cache") / "Vexilon" / "work-piece.png";
}

} // namespace vexilon::sim
