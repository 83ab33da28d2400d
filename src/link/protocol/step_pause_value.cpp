#include "link/protocol/step_pause_value.h"

namespace vexilon::protocol {
namespace {

// Full-width ASCII forms (U+FF01 to U+FF5E) and the ideographic space, which
// an input method may give in place of digits, signs and blanks.
char16_t folded(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        return static_cast<char16_t>(c - 0xFEE0);
    }
    return c == 0x3000 ? u' ' : c;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

} // namespace

std::uint8_t stepPauseValue(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(folded(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (folded(text[i]) == u'+' || folded(text[i]) == u'-')) {
        negative = folded(text[i]) == u'-';
        ++i;
    }
    unsigned low = 0;
    for (; i < text.size() && folded(text[i]) >= u'0' && folded(text[i]) <= u'9'; ++i) {
        low = (low * 10 + static_cast<unsigned>(folded(text[i]) - u'0')) & 0xFFu;
    }
    return static_cast<std::uint8_t>(negative ? (0x100u - low) & 0xFFu : low);
}

} // namespace vexilon::protocol
