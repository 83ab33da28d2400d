#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vexilon {

// Longest value a read gives; longer values are cut, never at the middle of
// a UTF-8 character.
inline constexpr std::size_t settingsValueLimit = 10239;

// The value of `key` in `section` of the settings file. Leading characters
// with codes up to 32 are ignored in the path, section and key; when one of
// them is then empty the result is empty. A missing or unreadable file,
// section or key gives defaultValue; a key with an empty value gives "".
// Names match without regard to case, the first match wins, blanks around
// names and values are dropped, and a value in matching quotes loses them.
// A UTF-8 byte-order mark before the first line is skipped.
std::string readSettingsItem(const std::filesystem::path& file, std::string_view section,
                             std::string_view key, std::string_view defaultValue);

// Sets `key` in `section` to `value`, creating the file and the section when
// missing. An existing item is changed in place, a new key goes after the
// last item of its section, a new section at the end of the file; every other
// line keeps its bytes, a byte-order mark included. A value that would not read back as written
// (blanks at its ends, enclosing quotes) is written in double quotes. Returns false, leaving the
// file as it was, when the write fails or when a name or the value cannot be stored (empty names,
// line breaks, ']' in the section, '=' in the key).
bool writeSettingsItem(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view value);

// The same two on the content of a settings file held in memory.
std::string readSettingsText(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view defaultValue);
bool writeSettingsText(std::string& content, std::string_view section, std::string_view key,
                       std::string_view value);

} // namespace vexilon
