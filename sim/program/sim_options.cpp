#include "sim/program/sim_options.h"

#include <algorithm>
#include <array>
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

// Walks the arguments once; each option takes its values through it.
class OptionReader {
public:
    explicit OptionReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool next() { return ++at_ < arguments_.size() && options.error.empty(); }
    const std::string& name() const { return arguments_[at_]; }

    std::optional<std::string> value() {
        if (at_ + 1 >= arguments_.size()) {
            options.error = name() + " needs a value";
            return std::nullopt;
        }
        return arguments_[++at_];
    }

    std::optional<long long> number(long long least) {
        const std::string option = name();
        const auto text = value();
        if (!text) {
            return std::nullopt;
        }
        const auto parsed = wholeNumber(*text, least);
        if (!parsed) {
            options.error = option + " takes a whole number from " + std::to_string(least) +
                            ", not \"" + *text + "\"";
        }
        return parsed;
    }

    ProgramOptions options;

private:
    const std::vector<std::string>& arguments_;
    std::size_t at_ = static_cast<std::size_t>(-1);
};

void readPort(OptionReader& in) {
    if (const auto port = in.number(1); port && *port <= 9999) {
        in.options.machine.port = static_cast<int>(*port);
    } else if (port) {
        in.options.error = "--port takes a number from 1 to 9999";
    }
}

void readPace(OptionReader& in) {
    const auto pace = in.value();
    if (pace == "line") {
        in.options.machine.pace = Pace::LineRate;
    } else if (pace == "bursts") {
        in.options.machine.pace = Pace::Bursts;
    } else if (pace == "fast") {
        in.options.machine.pace = Pace::Fast;
    } else if (pace) {
        in.options.error = "--pace is line, bursts or fast, not \"" + *pace + "\"";
    }
}

void readNoise(OptionReader& in) {
    if (const auto every = in.number(1)) {
        in.options.machine.faults.noiseEvery = static_cast<int>(std::min(*every, 1LL << 30));
    }
}

void readHangUp(OptionReader& in) {
    if (const auto dots = in.number(1)) {
        in.options.machine.faults.hangUpAfterDots = *dots;
    }
}

void readPath(OptionReader& in, std::filesystem::path& path) {
    if (const auto value = in.value()) {
        path = *value;
    }
}

struct OptionRule {
    const char* shortName;
    const char* longName;
    void (*read)(OptionReader&);
};

constexpr std::array<OptionRule, 12> kOptions = {{
    {"-h", "--help", [](OptionReader& in) { in.options.help = true; }},
    {nullptr, "--port", readPort},
    {nullptr, "--pace", readPace},
    {nullptr, "--no-verify",
     [](OptionReader& in) { in.options.machine.faults.neverAnswerVerify = true; }},
    {nullptr, "--late-verify",
     [](OptionReader& in) { in.options.machine.faults.lateVerify = true; }},
    {nullptr, "--noise", readNoise},
    {nullptr, "--hang-up-after", readHangUp},
    {nullptr, "--version-report",
     [](OptionReader& in) { in.options.machine.versionReport = true; }},
    {nullptr, "--work-piece", [](OptionReader& in) { readPath(in, in.options.workPiecePng); }},
    {nullptr, "--ports", [](OptionReader& in) { readPath(in, in.options.linkDirectory); }},
    {"-q", "--quiet", [](OptionReader& in) { in.options.machine.logLevel = LogLevel::Quiet; }},
    {"-v", "--verbose", [](OptionReader& in) { in.options.machine.logLevel = LogLevel::Verbose; }},
}};

} // namespace

ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments) {
    OptionReader in(arguments);
    in.options.machine.pace = Pace::LineRate;
    in.options.machine.logLevel = LogLevel::Normal;
    while (in.next()) {
        const auto rule = std::find_if(kOptions.begin(), kOptions.end(), [&](const OptionRule& r) {
            return in.name() == r.longName || (r.shortName && in.name() == r.shortName);
        });
        if (rule == kOptions.end()) {
            in.options.error = "unknown option \"" + in.name() + "\" (see --help)";
        } else {
            rule->read(in);
        }
    }
    return in.options;
}

namespace {

// The text of --help, also the reference for every option.
constexpr const char* kHelp = R"(Usage: vexilon-sim [options]

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
  --pace line|bursts|fast
                       line: the real 57,600-baud line, 1,152 dots a second
                       (default); bursts: the same rate delivered every 16 ms,
                       as by a USB serial adapter; fast: as fast as the
                       console reads
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

} // namespace

std::string programHelp() {
    return kHelp;
}

std::filesystem::path consolePortDirectory() {
    return xdgBase("XDG_CONFIG_HOME", ".config") / "Vexilon" / "ports";
}

std::filesystem::path defaultWorkPiecePng() {
    return xdgBase("XDG_CACHE_HOME", ".cache") / "Vexilon" / "work-piece.png";
}

} // namespace vexilon::sim
