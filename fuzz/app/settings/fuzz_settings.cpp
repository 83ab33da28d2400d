// Reads and writes one item of an arbitrary settings text: names, value and
// text all come from the input. Every read stays within the value limit; a
// refused write leaves the text as it was; an accepted one reads back as
// written, changes the bytes of one line at most (or adds lines), and a
// second write of the same value changes nothing.
//
// Input: a length byte and that many bytes each for the section, the key and
// the value, then the text.

#include "app/settings/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Takes a length byte (kept below `limit`) and that many bytes.
std::string_view take(std::string_view& input, std::size_t limit) {
    if (input.empty()) {
        return {};
    }
    const std::size_t length =
        std::min<std::size_t>(static_cast<unsigned char>(input.front()) % limit, input.size() - 1);
    const std::string_view part = input.substr(1, length);
    input.remove_prefix(1 + length);
    return part;
}

// True when `after` is `before` with at most the inside of one line changed,
// or with bytes put in at one place.
bool onlyOneLineChanged(std::string_view before, std::string_view after) {
    std::size_t prefix = 0;
    const std::size_t shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view replaced = before.substr(prefix, before.size() - prefix - suffix);
    return replaced.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view section = take(input, 16);
    const std::string_view key = take(input, 16);
    const std::string_view value = take(input, 64);
    const std::string text(input);

    require(vexilon::readSettingsText(text, section, key, "?").size() <=
            vexilon::settingsValueLimit);

    std::string written = text;
    if (!vexilon::writeSettingsText(written, section, key, value)) {
        require(written == text);
        return 0;
    }
    require(vexilon::readSettingsText(written, section, key, "?") == value);
    require(onlyOneLineChanged(text, written));
    std::string again = written;
    require(vexilon::writeSettingsText(again, section, key, value));
    require(again == written);
    return 0;
}
