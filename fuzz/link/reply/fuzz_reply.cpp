// Feeds arbitrary bytes to the reply parser and checks every answer against
// what the bytes alone say it must be: the digit count stays within the
// buffer, a dot is reported exactly when four digits stand since the last
// 255, and it is the one those digits spell.

#include "link/protocol/reply_parser.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using vexilon::protocol::Position;
using vexilon::protocol::ReplyParser;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReplyParser parser;
    // The digits since the last 255, as sent (a fifth and later are dropped).
    std::vector<std::int32_t> digits;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        const auto before = parser.lastPosition();
        const auto actions = parser.feed(byte);

        bool ignoredDigit = false;
        if (byte == 255) {
            digits.clear();
        } else if (byte <= 100) {
            ignoredDigit = digits.size() == 4;
            if (!ignoredDigit) {
                digits.push_back(byte);
            }
        }
        require(parser.digitCount() == static_cast<int>(digits.size()));
        require(actions.verifyOk == (byte == 101));
        require(actions.carvingStopped == (byte == 102));
        require(actions.versionReport == (byte == 110));

        if (digits.size() == 4 && !ignoredDigit) {
            const Position expected{digits[0] * 100 + digits[1], digits[2] * 100 + digits[3]};
            if (expected.x <= 511 && expected.y <= 511) {
                require(actions.position == expected && parser.lastPosition() == expected);
            } else {
                require(!actions.position && parser.lastPosition() == before);
            }
        } else {
            require(!actions.position && parser.lastPosition() == before);
        }
    }
    return 0;
}
