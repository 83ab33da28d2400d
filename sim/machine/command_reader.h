#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vexilon::sim {

using Millis = std::chrono::milliseconds; // time on the machine's clock

// What the console asked for, read from its byte stream.
struct Command {
    enum class Kind {
        BurningTime, // parameter 1..240
        StartCarving,
        Pause,
        ToOrigin,
        CarvingArea,
        Jog, // parameter: the direction byte
        VerifyRequest,
        ReverseMotor, // parameter: the axis byte
        Restart,
        StepPause, // parameter: the pause byte
        ToMiddle,
        Recarve,
        FastBackward,
        FastForward,
        EraseImage,
        ImageData,      // image: the whole block
        ImageAbandoned, // parameter: how many bytes of it had come
        Unknown,        // parameter: the byte (or the second byte of a 252)
        ShortErase,     // parameter: how many 254 came before another byte
    };
    Kind kind;
    int parameter = 0;
    std::vector<std::uint8_t> image;
};

// How many kinds there are: the machine keeps one handler for each.
inline constexpr std::size_t kCommandKinds =
    static_cast<std::size_t>(Command::Kind::ShortErase) + 1;

// Splits the console's bytes into commands. After erase image the machine
// waits for the image data; the block is recognised by its "BM" start, so a
// console that erases and then sends no image (it has none) is still heard.
// A block that stops for longer than kImageStall is dropped.
class CommandReader {
public:
    static constexpr Millis kImageStall{1000};

    // The commands this byte completes (usually none or one).
    std::vector<Command> feed(std::uint8_t byte, Millis now);

private:
    enum class State {
        Command,
        JogDirection,
        MotorAxis,
        StepPause,
        RowCommand,
        ImageB,
        ImageM,
        ImageBody
    };

    static std::optional<State> parameterState(std::uint8_t byte);

    void command(std::uint8_t byte, std::vector<Command>& out);
    void finishTwoByte(Command::Kind kind, int parameter, std::vector<Command>& out);
    void image(std::uint8_t byte, Millis now, std::vector<Command>& out);
    void imageBody(std::uint8_t byte, Millis now, std::vector<Command>& out);

    State state_ = State::Command;
    int eraseRun_ = 0;
    std::vector<std::uint8_t> image_;
    Millis lastImageByte_{0};
};

} // namespace vexilon::sim
