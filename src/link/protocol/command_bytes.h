#pragma once

#include <array>
#include <cstdint>

namespace vexilon::protocol {

// Command codes the console sends. Each byte of a command is a send of its
// own; the burning time travels as a bare byte 1..240 with no code in front.
inline constexpr std::uint8_t kStartCarving = 241;
inline constexpr std::uint8_t kPause = 242;
inline constexpr std::uint8_t kToOrigin = 243;
inline constexpr std::uint8_t kSimulateCarvingArea = 244;
inline constexpr std::uint8_t kJog = 245;
inline constexpr std::uint8_t kVerifyRequest = 246;
inline constexpr std::uint8_t kReverseMotor = 247;
inline constexpr std::uint8_t kRestart = 249;
inline constexpr std::uint8_t kMotorStepPause = 250;
inline constexpr std::uint8_t kToMiddleOfImage = 251;
inline constexpr std::uint8_t kRowCommand = 252; // recarve and the 15-row skips
inline constexpr std::uint8_t kEraseImage = 254;

// Second bytes.
inline constexpr std::uint8_t kJogUp = 1;
inline constexpr std::uint8_t kJogDown = 2;
inline constexpr std::uint8_t kJogLeft = 3;
inline constexpr std::uint8_t kJogRight = 4;
inline constexpr std::uint8_t kMotorAxisX = 1;
inline constexpr std::uint8_t kMotorAxisY = 2;
inline constexpr std::uint8_t kRecarve = 119;
inline constexpr std::uint8_t kFastBackward = 85;
inline constexpr std::uint8_t kFastForward = 170;

// Erase image is the code sent this many times, then a wait before the image.
inline constexpr int kEraseImageRepeat = 8;
inline constexpr int kEraseImageWaitMs = 3000;
inline constexpr int kJogWaitMs = 50;

// Two-byte commands, in sending order.
inline constexpr std::array<std::uint8_t, 2> kRecarveCommand{kRowCommand, kRecarve};
inline constexpr std::array<std::uint8_t, 2> kFastBackwardCommand{kRowCommand, kFastBackward};
inline constexpr std::array<std::uint8_t, 2> kFastForwardCommand{kRowCommand, kFastForward};
inline constexpr std::array<std::uint8_t, kEraseImageRepeat> kEraseImageCommand{
    kEraseImage, kEraseImage, kEraseImage, kEraseImage,
    kEraseImage, kEraseImage, kEraseImage, kEraseImage};

// Commands with a parameter byte after the code.
constexpr std::array<std::uint8_t, 2> jogCommand(std::uint8_t direction) {
    return {kJog, direction};
}
constexpr std::array<std::uint8_t, 2> reverseMotorCommand(std::uint8_t axis) {
    return {kReverseMotor, axis};
}
constexpr std::array<std::uint8_t, 2> motorStepPauseCommand(std::uint8_t pause) {
    return {kMotorStepPause, pause};
}

// Replies from the machine.
inline constexpr std::uint8_t kLargestDigit = 100; // 0..100 are position digits
inline constexpr std::uint8_t kVerifyOk = 101;
inline constexpr std::uint8_t kCarvingStopped = 102;
inline constexpr std::uint8_t kVersionReport = 110;
inline constexpr std::uint8_t kPositionReportStart = 255;

// The bytes of position reports, which only move the shown dot: everything
// else the machine sends asks for something to be done.
constexpr bool isPositionReportByte(std::uint8_t byte) {
    return byte <= kLargestDigit || byte == kPositionReportStart;
}

// The image the machine stores: 512 x 512 dots sent as a 1-bit BMP file.
inline constexpr int kImageSide = 512;
inline constexpr int kImageDataSize = 32830;

} // namespace vexilon::protocol
