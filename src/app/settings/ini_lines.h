#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexilon {

// One line of a settings file as it stands on disk: its text and its own line
// end ("\n", "\r\n", or nothing on a last line without one), so that a file
// can be put back together byte for byte.
struct IniLine {
    std::string text;
    std::string end;
};

std::vector<IniLine> splitIniLines(std::string_view content);
std::string joinIniLines(const std::vector<IniLine>& lines);

// The line end new lines get: that of the file's first ended line, "\n" when
// the file has none.
std::string_view iniLineEnd(std::string_view content);

enum class IniLineKind { Blank, Comment, Section, Item, Other };

// A line's role. For a section, name is the text between '[' and the first
// ']' (or the line's end); for an item, name is the text before the first '='
// and value the text after it; both trimmed. A line with neither brackets nor
// an equals sign is Other: kept, but never matched.
struct IniLineParts {
    IniLineKind kind = IniLineKind::Blank;
    std::string_view name;
    std::string_view value;
};

IniLineParts parseIniLine(std::string_view text);

bool isIniBlank(char c);
std::string_view trimIni(std::string_view text);

// Section and key names match without regard to ASCII case.
bool sameIniName(std::string_view a, std::string_view b);

// Index of the first section header with this name, or lines.size().
std::size_t findIniSection(const std::vector<IniLine>& lines, std::string_view section);

// Index of the first item with this key between the section header at
// `header` and the next header, or lines.size().
std::size_t findIniItem(const std::vector<IniLine>& lines, std::size_t header,
                        std::string_view key);

} // namespace vexilon
