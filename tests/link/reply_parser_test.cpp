#include "link/protocol/reply_parser.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace vexilon::protocol {
namespace {

// Byte by byte, the dot each byte asks to paint; the fuzz target checks the
// same rule on arbitrary input, these are the cases that must never regress.
TEST(ReplyParser, DecodesReportsByteByByte) {
    using Dots = std::vector<std::optional<Position>>;
    constexpr std::nullopt_t no = std::nullopt;
    const Position p317{317, 45};
    const std::tuple<const char*, std::vector<std::uint8_t>, Dots> cases[] = {
        {"plain report", {255, 3, 17, 0, 45}, {no, no, no, no, p317}},
        {"no leading zeros", {255, 0, 5, 0, 9}, {no, no, no, no, Position{5, 9}}},
        {"digit 100", {255, 1, 100, 0, 0}, {no, no, no, no, Position{200, 0}}},
        {"last dot of the piece", {255, 5, 11, 5, 11}, {no, no, no, no, Position{511, 511}}},
        {"off the piece, and what follows it",
         {255, 5, 12, 0, 0, 102, 255, 0, 0, 5, 12, 102},
         {no, no, no, no, no, no, no, no, no, no, no, no}},
        {"a lost 255 glues two reports", {255, 3, 4, 20, 0, 46}, {no, no, no, no, no, no}},
        {"255 inside a report starts afresh",
         {255, 3, 17, 255, 0, 5, 0, 9},
         {no, no, no, no, no, no, no, Position{5, 9}}},
        {"digits before the first 255", {3, 17, 0, 45}, {no, no, no, p317}},
        {"later non-digits repaint the same dot",
         {255, 3, 17, 0, 45, 102, 101, 110, 200, 255},
         {no, no, no, no, p317, p317, p317, p317, p317, no}},
        {"fifth digit is dropped", {255, 3, 17, 0, 45, 9, 102}, {no, no, no, no, p317, no, p317}},
        {"replies between digits", {255, 3, 101, 17, 0, 45}, {no, no, no, no, no, p317}},
    };
    for (const auto& [what, bytes, dots] : cases) {
        ReplyParser parser;
        Dots got;
        for (std::uint8_t byte : bytes) {
            got.push_back(parser.feed(byte).position);
        }
        EXPECT_EQ(got, dots) << what;
    }
}

} // namespace
} // namespace vexilon::protocol
