#include "link/protocol/reply_parser.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vexilon::protocol {
namespace {

struct Decoding {
    const char* what;
    std::vector<std::uint8_t> bytes;
    // The dot each byte asks to paint, byte by byte (nullopt: none).
    std::vector<std::optional<Position>> dots;
};

constexpr std::nullopt_t no = std::nullopt;

TEST(ReplyParser, DecodesReportsByteByByte) {
    const Position p317{317, 45};
    const Decoding cases[] = {
        {"plain report", {255, 3, 17, 0, 45}, {no, no, no, no, p317}},
        {"no leading zeros", {255, 0, 5, 0, 9}, {no, no, no, no, Position{5, 9}}},
        {"digit 100", {255, 1, 100, 0, 0}, {no, no, no, no, Position{200, 0}}},
        {"largest", {255, 100, 100, 100, 100}, {no, no, no, no, Position{10100, 10100}}},
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
    for (const Decoding& c : cases) {
        ASSERT_EQ(c.bytes.size(), c.dots.size()) << c.what;
        ReplyParser parser;
        for (std::size_t i = 0; i < c.bytes.size(); ++i) {
            EXPECT_EQ(parser.feed(c.bytes[i]).position, c.dots[i]) << c.what << ", byte " << i;
        }
    }
}

TEST(ReplyParser, NamedRepliesAreReportedWhateverTheDigitCount) {
    ReplyParser parser;
    for (std::uint8_t byte : {255, 1, 2}) {
        parser.feed(byte);
    }
    const ReplyActions verify = parser.feed(101);
    EXPECT_TRUE(verify.verifyOk && !verify.carvingStopped && !verify.versionReport);
    const ReplyActions stop = parser.feed(102);
    EXPECT_TRUE(stop.carvingStopped && !stop.verifyOk);
    EXPECT_TRUE(parser.feed(110).versionReport);
    EXPECT_EQ(parser.digitCount(), 2); // only a 255 resets the count
    for (int byte = 103; byte < 255; ++byte) {
        const ReplyActions none = parser.feed(static_cast<std::uint8_t>(byte));
        EXPECT_FALSE(none.verifyOk || none.carvingStopped || (none.versionReport && byte != 110))
            << byte;
    }
}

TEST(ReplyParser, FifthDigitLeavesBufferAndLastDotAlone) {
    ReplyParser parser;
    for (std::uint8_t byte : {255, 3, 17, 0, 45, 99, 98, 97}) {
        parser.feed(byte);
    }
    EXPECT_EQ(parser.digitCount(), 4);
    EXPECT_EQ(parser.buffer(), (std::array<std::int32_t, 4>{3, 17, 0, 45}));
    EXPECT_EQ(parser.lastPosition(), (Position{317, 45}));
    // The next report is read as usual.
    for (std::uint8_t byte : {255, 0, 1, 0, 2}) {
        parser.feed(byte);
    }
    EXPECT_EQ(parser.lastPosition(), (Position{1, 2}));
}

} // namespace
} // namespace vexilon::protocol
